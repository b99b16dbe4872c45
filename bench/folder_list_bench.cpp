// Runs inside the Wine virtual desktop: times the settings dialog's folder
// list on folders of many subfolders against the least any folder list must
// do, listing those subfolders with FindFirstFileEx. Opens the dialog
// through the program's menu command until it is visible with every row in
// its list, and double-clicks into each folder from their parent until the
// rows are there. Prints medians; asserts nothing.
//
//   folder_list_bench PROGRAM_EXE PROGRAM_CLASS FOLDER
//
// FOLDER (made if missing) gets one subfolder per size, each holding that
// many subfolders; the program's stored folder is overwritten.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 3;
// The sizes measured. The first gives the dialog's fixed cost: few rows,
// but enough for the list's scroll bar, whose showing costs the same
// whatever the number of rows.
constexpr int kSizes[] = {20, 100, 10000, 30000};
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kDialogTitle[] = L"Select Path to Make As drive";
constexpr int kFolderListId = 304;
constexpr WPARAM kSettingsCommand = 1002;
constexpr char kStoreKey[] = "SOFTWARE\\Kestrane\\Orvanel";
constexpr DWORD kTimeoutMs = 60000;
constexpr UINT kIconId = 1;
// Time for the program to finish painting what the last step showed, so
// that it is not counted in the next.
constexpr DWORD kSettleMs = 200;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::wstring SizeFolder(const std::wstring& parent, int size) {
    return parent + L"\\sub" + std::to_wstring(size);
}

// Names of mixed case and length, as real folders have, unique by their number.
std::wstring SubfolderName(int i) {
    static const wchar_t* const kWords[] = {L"Project", L"photos", L"ARCHIVE", L"Build", L"notes",
                                            L"Reports", L"cache", L"Music", L"tmp", L"Backup"};
    unsigned hash = static_cast<unsigned>(i) * 2654435761u;
    return std::wstring(kWords[hash % 10]) + L" " + std::to_wstring((hash >> 8) % 1000) + L"-" +
           std::to_wstring(i);
}

// The least a folder list does: the subfolders counted, dot entries left out.
int CountSubfolders(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        const bool dots = found.cFileName[0] == L'.' &&
                          (found.cFileName[1] == 0 || (found.cFileName[1] == L'.' && found.cFileName[2] == 0));
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots) ++count;
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return count;
}

bool MakeFolders(const std::wstring& parent) {
    ::CreateDirectoryW(parent.c_str(), nullptr);
    for (const int size : kSizes) {
        const std::wstring folder = SizeFolder(parent, size);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        if (CountSubfolders(folder) == size) continue;
        for (int i = 0; i < size; ++i) ::CreateDirectoryW((folder + L"\\" + SubfolderName(i)).c_str(), nullptr);
        if (CountSubfolders(folder) != size) {
            std::fprintf(stderr, "cannot make %d subfolders in %ls\n", size, folder.c_str());
            return false;
        }
    }
    return true;
}

// As the program stores it: each ANSI character c as 255 - c, then a zero,
// through the ANSI function as the program reads it.
bool StoreFolder(const std::wstring& folder) {
    std::string data;
    for (const wchar_t c : folder) data += static_cast<char>(255 - static_cast<unsigned char>(c));
    data += '\0';
    return ::RegSetKeyValueA(HKEY_CURRENT_USER, kStoreKey, "Path", REG_SZ, data.data(),
                             static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

// The root, each folder down to this one, then its subfolders.
int RowsFor(const std::wstring& folder, int subfolders) {
    return 1 + static_cast<int>(std::count(folder.begin() + 3, folder.end(), L'\\')) + 1 + subfolders;
}

HWND FindOwnedWindow(DWORD pid, const wchar_t* window_class, const wchar_t* title) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, window_class, title)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == pid) break;
    }
    return window;
}

// The list's row count, once its thread answers; -1 when it does not.
int RowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kTimeoutMs, &count)) return -1;
    return static_cast<int>(static_cast<LRESULT>(count));
}

class Program {
public:
    bool Start(const std::wstring& exe, const std::wstring& window_class) {
        std::wstring command_line = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_)) {
            std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), ::GetLastError());
            return false;
        }
        ::WaitForInputIdle(process_.hProcess, kTimeoutMs);
        const Clock::time_point started = Clock::now();
        while ((tray_ = FindOwnedWindow(process_.dwProcessId, window_class.c_str(), nullptr)) == nullptr &&
               MsSince(started) < kTimeoutMs) {
            ::Sleep(10);
        }
        if (tray_ == nullptr) std::fprintf(stderr, "no window %ls\n", window_class.c_str());
        return tray_ != nullptr;
    }

    void Stop() {
        if (process_.hProcess == nullptr) return;
        if (tray_ != nullptr) ::PostMessageW(tray_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 1);
        // An icon left behind would crowd the desktop's notification area.
        if (tray_ != nullptr) {
            NOTIFYICONDATAA icon{};
            icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
            icon.hWnd = tray_;
            icon.uID = kIconId;
            ::Shell_NotifyIconA(NIM_DELETE, &icon);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
        process_ = {};
    }

    ~Program() { Stop(); }

    // Opens the settings dialog by the menu command; the time until it is
    // visible with `rows` rows in its folder list, or -1.
    double OpenDialog(int rows) {
        ::Sleep(kSettleMs);
        const Clock::time_point start = Clock::now();
        ::PostMessageW(tray_, WM_COMMAND, kSettingsCommand, 0);
        int count = -1;
        while (MsSince(start) < kTimeoutMs) {
            dialog_ = FindOwnedWindow(process_.dwProcessId, kDialogClass, kDialogTitle);
            if (dialog_ != nullptr && ::IsWindowVisible(dialog_)) {
                count = RowCount(::GetDlgItem(dialog_, kFolderListId));
                if (count == rows) return MsSince(start);
            }
            ::Sleep(1);
        }
        std::fprintf(stderr, "the dialog did not show %d rows (%d seen)\n", rows, count);
        return -1;
    }

    // Double-clicks the row named `name` (searched after the row `after`);
    // the time until the list shows `rows` rows, or -1.
    double DoubleClick(int after, const std::wstring& name, int rows) {
        const HWND list = ::GetDlgItem(dialog_, kFolderListId);
        const LRESULT row = ::SendMessageW(list, LB_FINDSTRINGEXACT, after, reinterpret_cast<LPARAM>(name.c_str()));
        if (row == LB_ERR) {
            std::fprintf(stderr, "no row %ls\n", name.c_str());
            return -1;
        }
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        ::Sleep(kSettleMs);
        const Clock::time_point start = Clock::now();
        ::SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(kFolderListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        if (RowCount(list) != rows) {
            std::fprintf(stderr, "%ls did not show %d rows\n", name.c_str(), rows);
            return -1;
        }
        return MsSince(start);
    }

    bool CloseDialog() {
        ::PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
        const Clock::time_point start = Clock::now();
        while (::IsWindow(dialog_) && MsSince(start) < kTimeoutMs) ::Sleep(1);
        return !::IsWindow(dialog_);
    }

private:
    PROCESS_INFORMATION process_{};
    HWND tray_ = nullptr;
    HWND dialog_ = nullptr;
};

struct Figures {
    std::vector<double> open, double_click, listing;
};

double TimeListing(const std::wstring& folder, int size) {
    const Clock::time_point start = Clock::now();
    const int count = CountSubfolders(folder);
    const double ms = MsSince(start);
    return count == size ? ms : -1;
}

// One round: each size's listing and dialog, then each double-click from the parent.
bool Round(Program& program, const std::wstring& parent, std::vector<Figures>& figures) {
    const int parent_rows = RowsFor(parent, CountSubfolders(parent));
    for (size_t i = 0; i < std::size(kSizes); ++i) {
        const std::wstring folder = SizeFolder(parent, kSizes[i]);
        figures[i].listing.push_back(TimeListing(folder, kSizes[i]));
        if (!StoreFolder(folder)) return false;
        figures[i].open.push_back(program.OpenDialog(RowsFor(folder, kSizes[i])));
        if (figures[i].open.back() < 0 || figures[i].listing.back() < 0 || !program.CloseDialog()) return false;
    }
    if (!StoreFolder(parent) || program.OpenDialog(parent_rows) < 0) return false;
    const int parent_row = RowsFor(parent, 0) - 1;
    const std::wstring parent_name = parent.substr(parent.find_last_of(L'\\') + 1);
    for (size_t i = 0; i < std::size(kSizes); ++i) {
        const std::wstring folder = SizeFolder(parent, kSizes[i]);
        const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
        figures[i].double_click.push_back(program.DoubleClick(parent_row, name, RowsFor(folder, kSizes[i])));
        // Back up to the parent, untimed.
        if (figures[i].double_click.back() < 0 || program.DoubleClick(parent_row - 1, parent_name, parent_rows) < 0) {
            return false;
        }
    }
    return program.CloseDialog();
}

void Print(const std::vector<Figures>& figures) {
    const double fixed_open = Median(figures[0].open) - 2 * Median(figures[0].listing);
    const double fixed_click = Median(figures[0].double_click) - 2 * Median(figures[0].listing);
    std::printf("Folder list: medians of %d, after one uncounted opening. Dialog open: from the menu command\n"
                "until the dialog is visible with every row; double-click: into the folder from its parent\n"
                "until its rows are there; bare listing: FindFirstFileEx over the same folder.\n"
                "Bound: the fixed cost (from a folder of %d subfolders, less twice its listing: open %.1f ms,\n"
                "double-click %.1f ms) plus twice the bare listing.\n",
                kRuns, kSizes[0], fixed_open, fixed_click);
    std::printf("%10s %12s %13s %13s %12s %14s\n", "subfolders", "dialog open", "double-click", "bare listing",
                "open/bound", "dblclick/bound");
    for (size_t i = 1; i < figures.size(); ++i) {
        const double listing = Median(figures[i].listing);
        const double open = Median(figures[i].open);
        const double click = Median(figures[i].double_click);
        std::printf("%10d %9.1f ms %10.1f ms %10.1f ms %12.2f %14.2f\n", kSizes[i], open, click, listing,
                    open / (fixed_open + 2 * listing), click / (fixed_click + 2 * listing));
    }
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: folder_list_bench PROGRAM_EXE PROGRAM_CLASS FOLDER\n");
        return 2;
    }
    const std::wstring parent = argv[3];
    if (!MakeFolders(parent)) return 1;
    for (int i = 0; i < 200 && ::FindWindowW(L"Shell_TrayWnd", nullptr) == nullptr; ++i) ::Sleep(100);
    Program program;
    if (!program.Start(argv[1], argv[2])) return 1;
    // The first opening loads what the dialog needs; it is not counted.
    const std::wstring first = SizeFolder(parent, kSizes[1]);
    if (!StoreFolder(first) || program.OpenDialog(RowsFor(first, kSizes[1])) < 0 || !program.CloseDialog()) return 1;
    std::vector<Figures> figures(std::size(kSizes));
    for (int run = 0; run < kRuns; ++run) {
        if (!Round(program, parent, figures)) return 1;
    }
    Print(figures);
    return 0;
}
