// A stand-in for subst.exe in the test prefix, as Wine's own does nothing:
// it records its command line, maps or unmaps the drive with DefineDosDevice,
// tells the session's windows as Windows does (Wine's tells nobody), and
// prints subst's messages with its exit codes. A file subst-fail in
// C:\windows\temp\orvanel-test makes it print that file's text and fail;
// subst-slow-d makes a removal take that many milliseconds.
#include <windows.h>
#include <dbt.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::filesystem::path kDir = L"C:\\windows\\temp\\orvanel-test";

int Fail(const std::wstring& text) { return std::printf("%ls\n", text.c_str()), 1; }

// What Windows' kernel32 broadcasts when a mapping comes or goes.
int Changed(const std::wstring& drive, WPARAM event) {
    DEV_BROADCAST_VOLUME volume{sizeof(volume), DBT_DEVTYP_VOLUME, 0, 1u << (drive[0] - L'A'), 0};
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 2000, nullptr);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wofstream(kDir / L"subst.log", std::ios::app) << ::GetCommandLineW() << L"\n";
    std::ifstream steering(kDir / L"subst-fail", std::ios::binary);
    const std::string fail{std::istreambuf_iterator<char>(steering), std::istreambuf_iterator<char>()};
    if (!fail.empty()) return std::printf("%s\n", fail.c_str()), 1;
    if (argc != 3 || wcslen(argv[1]) != 2 || !iswalpha(argv[1][0]) || argv[1][1] != L':') return Fail(L"Invalid parameter");
    const std::wstring drive{static_cast<wchar_t>(towupper(argv[1][0])), L':'};
    wchar_t target[1024];
    const bool mapped = ::QueryDosDeviceW(drive.c_str(), target, 1024) != 0;
    if (_wcsicmp(argv[2], L"/d") == 0) {
        if (!mapped) return Fail(L"Invalid parameter - " + drive);
        DWORD slow_ms = 0;
        std::ifstream(kDir / L"subst-slow-d") >> slow_ms;
        ::Sleep(slow_ms);
        ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
        return Changed(drive, DBT_DEVICEREMOVECOMPLETE);
    }
    if (mapped) return Fail(L"Drive already SUBSTed");
    const DWORD attributes = ::GetFileAttributesW(argv[2]);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(L"Path not found - " + std::wstring(argv[2]));
    if (!::DefineDosDeviceW(0, drive.c_str(), argv[2])) return Fail(L"Invalid parameter - " + drive);
    return Changed(drive, DBT_DEVICEARRIVAL);
}
