#include "Register.h"

#include "app_info.h"
#include "app_keys.h"
#include "frmMain.h"
#include "links.h"

namespace orvanel {

void Main() {
    AppRootKey = RootKey::LocalMachine;
    AppKeyPath = std::wstring(L"SOFTWARE\\Kestrane\\") + kAppTitle;
    SyncMakerValues();
    frmMain();
}

}  // namespace orvanel
