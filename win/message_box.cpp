#include "message_box.h"

#include "app_info.h"

namespace orvanel {

void ShowAppMessage(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), kAppTitle, MB_OK);
}

bool AskAppQuestion(HWND owner, const std::wstring& text) {
    return ::MessageBoxW(owner, text.c_str(), kAppTitle, MB_YESNO) == IDYES;
}

}  // namespace orvanel
