#include "Register.h"

#include <windows.h>

#include "app_info.h"
#include "frmMain.h"
#include "links.h"

namespace orvanel {

RootKey AppRootKey{};
std::wstring AppKeyPath;

void Main() {
    AppRootKey = RootKey::LocalMachine;
    AppKeyPath = std::wstring(L"SOFTWARE\\Kestrane\\") + kAppTitle;
    SyncMakerValues();
    frmMain();
}

}  // namespace orvanel
