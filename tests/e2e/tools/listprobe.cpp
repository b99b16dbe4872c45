// For the settings dialog's end-to-end test: reads the rows of a list box or
// combo box in another program's window, reads a window's frame styles,
// counts the windows with a title, and creates a volatile registry key,
// below which the program's non-volatile key can't be created.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

HWND Control(const char* title, const char* id) {
    const HWND window = FindWindowA(nullptr, title);
    return window ? GetDlgItem(window, std::atoi(id)) : nullptr;
}

std::string Utf8(const std::wstring& text) {
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

std::wstring RowText(HWND control, UINT len_msg, UINT text_msg, int row) {
    const LRESULT length = SendMessageW(control, len_msg, static_cast<WPARAM>(row), 0);
    if (length < 0) return L"";
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, text_msg, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// "sel N" then one line per row: index, text, and for a list box the row's
// centre on the screen.
int ListRows(const char* title, const char* id) {
    const HWND list = Control(title, id);
    if (!list) return 1;
    printf("sel %ld\n", static_cast<long>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
        const bool visible = SendMessageW(list, LB_GETTOPINDEX, 0, 0) <= row;
        printf("%d\t%s\t%ld %ld\t%s\n", row, Utf8(RowText(list, LB_GETTEXTLEN, LB_GETTEXT, row)).c_str(),
               (r.left + r.right) / 2, (r.top + r.bottom) / 2, visible ? "shown" : "scrolled");
    }
    return 0;
}

int ComboRows(const char* title, const char* id) {
    const HWND combo = Control(title, id);
    if (!combo) return 1;
    printf("sel %ld\n", static_cast<long>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) {
        printf("%d\t%s\n", row, Utf8(RowText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, row)).c_str());
    }
    return 0;
}

// The window's frame and ownership: what decides its border, its caption
// buttons and whether it gets a taskbar button.
int WindowStyle(const char* title) {
    const HWND window = FindWindowA(nullptr, title);
    if (!window) return 1;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    char owner_class[256] = "none";
    if (const HWND owner = GetWindow(window, GW_OWNER)) GetClassNameA(owner, owner_class, sizeof(owner_class));
    printf("sizable=%d minimizebox=%d maximizebox=%d sysmenu=%d modalframe=%d appwindow=%d "
           "toolwindow=%d owner=%s owner_visible=%d\n",
           (style & WS_THICKFRAME) != 0, (style & WS_MINIMIZEBOX) != 0, (style & WS_MAXIMIZEBOX) != 0,
           (style & WS_SYSMENU) != 0, (ex_style & WS_EX_DLGMODALFRAME) != 0,
           (ex_style & WS_EX_APPWINDOW) != 0, (ex_style & WS_EX_TOOLWINDOW) != 0, owner_class,
           GetWindow(window, GW_OWNER) ? IsWindowVisible(GetWindow(window, GW_OWNER)) != 0 : 0);
    return 0;
}

struct Counted {
    const char* title;
    int count;
};

BOOL CALLBACK CountTitled(HWND window, LPARAM counted) {
    auto* c = reinterpret_cast<Counted*>(counted);
    char title[512] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (IsWindowVisible(window) && std::string(title) == c->title) ++c->count;
    return TRUE;
}

// How many visible top-level windows carry the title.
int CountWindows(const char* title) {
    Counted counted{title, 0};
    EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&counted));
    printf("%d\n", counted.count);
    return 0;
}

int CreateVolatileKey(const char* path) {
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return 1;
    RegCloseKey(key);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    int rc = 2;
    if (command == "list" && argc == 4) rc = ListRows(argv[2], argv[3]);
    if (command == "combo" && argc == 4) rc = ComboRows(argv[2], argv[3]);
    if (command == "count" && argc == 3) rc = CountWindows(argv[2]);
    if (command == "style" && argc == 3) rc = WindowStyle(argv[2]);
    if (command == "hkcu-volatile-key" && argc == 3) rc = CreateVolatileKey(argv[2]);
    if (rc == 2) {
        fprintf(stderr, "listprobe list|combo WINDOW_TITLE CONTROL_ID\n"
                        "listprobe style|count WINDOW_TITLE\n"
                        "listprobe hkcu-volatile-key PATH\n");
    }
    fflush(stdout);
    return rc;
}
