// A stand-in for subst.exe in the test prefix: Wine's own does nothing.
// It records each command line, maps or unmaps the drive with
// DefineDosDevice so that QueryDosDevice shows the effect, prints subst's
// messages and returns its exit codes. Files in C:\windows\temp\orvanel-test
// steer it: subst-fail (its text is printed, exit 1), subst-delay-ms (a pause
// before a mount, never before an unmount, so that an unmount can overtake
// it). That folder is off the root of C: so that the folder list of a prefix
// people use (scripts/run) shows nothing of the tests.
#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

namespace {

const wchar_t kDir[] = L"C:\\windows\\temp\\orvanel-test";

std::wstring ReadFileText(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return L"";
    std::string bytes;
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) bytes.append(buf, n);
    fclose(f);
    return std::wstring(bytes.begin(), bytes.end());
}


void Record(const wchar_t* line) {
    CreateDirectoryW(kDir, nullptr);
    FILE* f = _wfopen((std::wstring(kDir) + L"\\subst.log").c_str(), L"ab");
    if (!f) return;
    std::wstring text(line);
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.pop_back();
    fprintf(f, "%s\n", utf8.c_str());
    fclose(f);
}

int Say(const std::wstring& text, int code) {
    printf("%ls\n", text.c_str());
    fflush(stdout);
    return code;
}

bool IsDriveSpec(const std::wstring& s) {
    return s.size() == 2 && iswalpha(s[0]) && s[1] == L':';
}

bool Mapped(const std::wstring& drive) {
    wchar_t target[1024];
    return QueryDosDeviceW(drive.c_str(), target, 1024) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Record(GetCommandLineW());
    std::vector<std::wstring> args(argv + 1, argv + argc);
    const bool unmount = args.size() == 2 && _wcsicmp(args[1].c_str(), L"/d") == 0;
    const std::wstring delay = ReadFileText(std::wstring(kDir) + L"\\subst-delay-ms");
    if (!delay.empty() && !unmount) Sleep(static_cast<DWORD>(_wtoi(delay.c_str())));
    const std::wstring fail = ReadFileText(std::wstring(kDir) + L"\\subst-fail");
    if (!fail.empty()) return Say(fail, 1);

    if (args.size() != 2) return Say(L"Incorrect number of parameters - " + std::wstring(GetCommandLineW()), 1);
    std::wstring drive = args[0];
    if (!IsDriveSpec(drive)) return Say(L"Invalid parameter - " + drive, 1);
    drive[0] = static_cast<wchar_t>(towupper(drive[0]));
    if (unmount) {
        if (!Mapped(drive)) return Say(L"Invalid parameter - " + drive, 1);
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
        return 0;
    }
    if (Mapped(drive)) return Say(L"Drive already SUBSTed", 1);
    const DWORD attributes = GetFileAttributesW(args[1].c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Say(L"Path not found - " + args[1], 1);
    if (!DefineDosDeviceW(0, drive.c_str(), args[1].c_str())) return Say(L"Invalid parameter - " + drive, 1);
    return 0;
}
