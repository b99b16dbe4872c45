// A stand-in for subst.exe in the test prefix: Wine's own does nothing. It
// records each command line, maps or unmaps the drive with DefineDosDevice
// so that QueryDosDevice shows the effect, tells the session's windows as
// Windows does (Wine's DefineDosDevice tells nobody), prints subst's
// messages and returns its exit codes. Files in C:\windows\temp\orvanel-test
// (off the root of C:, so that scripts/run's folder list shows nothing of
// the tests) steer it: subst-fail (its text is printed, exit 1),
// subst-delay-ms (a pause before a mount, never an unmount, so that an
// unmount can overtake it).
#include <windows.h>
#include <dbt.h>

#include <cstdio>
#include <cwctype>
#include <string>

namespace {

const std::wstring kDir = L"C:\\windows\\temp\\orvanel-test";

std::string FileText(const std::wstring& name) {
    std::string bytes;
    if (FILE* f = _wfopen((kDir + name).c_str(), L"rb")) {
        for (int c; (c = fgetc(f)) != EOF;) bytes += static_cast<char>(c);
        fclose(f);
    }
    return bytes;
}

// subst's message; exit code 1.
int Fail(const std::wstring& text) {
    printf("%ls\n", text.c_str());
    return 1;
}

// What Windows' kernel32 broadcasts when a mapping comes or goes.
int Changed(const std::wstring& drive, WPARAM event) {
    DEV_BROADCAST_VOLUME volume{sizeof(volume), DBT_DEVTYP_VOLUME, 0, 1u << (drive[0] - L'A'), 0};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* line = GetCommandLineW();
    CreateDirectoryW(kDir.c_str(), nullptr);
    if (FILE* log = _wfopen((kDir + L"\\subst.log").c_str(), L"ab")) {
        static char utf8[1 << 17];  // a command line is at most 32,767 characters
        WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof(utf8), nullptr, nullptr);
        fprintf(log, "%s\n", utf8);
        fclose(log);
    }
    const bool unmount = argc == 3 && _wcsicmp(argv[2], L"/d") == 0;
    const std::string delay = FileText(L"\\subst-delay-ms");
    if (!delay.empty() && !unmount) Sleep(static_cast<DWORD>(atoi(delay.c_str())));
    const std::string fail = FileText(L"\\subst-fail");
    if (!fail.empty()) return printf("%s\n", fail.c_str()), 1;

    if (argc != 3) return Fail(L"Incorrect number of parameters - " + std::wstring(line));
    std::wstring drive = argv[1];
    if (drive.size() != 2 || !iswalpha(drive[0]) || drive[1] != L':') return Fail(L"Invalid parameter - " + drive);
    drive[0] = static_cast<wchar_t>(towupper(drive[0]));
    wchar_t target[1024];
    const bool mapped = QueryDosDeviceW(drive.c_str(), target, 1024) != 0;
    if (unmount && !mapped) return Fail(L"Invalid parameter - " + drive);
    if (unmount) return DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr), Changed(drive, DBT_DEVICEREMOVECOMPLETE);
    if (mapped) return Fail(L"Drive already SUBSTed");
    const DWORD attributes = GetFileAttributesW(argv[2]);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(L"Path not found - " + std::wstring(argv[2]));
    if (!DefineDosDeviceW(0, drive.c_str(), argv[2])) return Fail(L"Invalid parameter - " + drive);
    return Changed(drive, DBT_DEVICEARRIVAL);
}
