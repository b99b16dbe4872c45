// The per-user installer that scripts/package makes (ORVANEL_SETUP; an
// older build of it in ORVANEL_OLDER_SETUP): silent and through its pages,
// over a copy and over an older build, Windows' Startup apps mark, the
// installed program, and the uninstaller with Orvanel running and mounted.
#include "harness.h"

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "resource.h"
#include "version.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
const std::wstring kVersion = std::to_wstring(ORVANEL_VERSION_MAJOR) + L"." + std::to_wstring(ORVANEL_VERSION_MINOR) +
                              L"." + std::to_wstring(ORVANEL_VERSION_REVISION);
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanel";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMarkKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    const fs::path folder = path ? path : L"";
    ::CoTaskMemFree(path);
    return folder;
}

DWORD Launch(const fs::path& program, const std::wstring& arguments) {
    std::wstring line = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return ::GetLastError();
    }
    DWORD code = STILL_ACTIVE;
    ::WaitForSingleObject(info.hProcess, 180000);
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

// A value under HKEY_CURRENT_USER as text (a DWORD as 0x...), or "missing".
std::wstring Reg(const wchar_t* key, const wchar_t* name) {
    DWORD type = 0, size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, nullptr, &size)) return L"missing";
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, data.data(), &size);
    if (type == REG_DWORD) return L"0x" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
    if (type == REG_BINARY) return L"binary " + std::to_wstring(static_cast<unsigned char>(data[0] & 0xFF));
    return data.c_str();
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The wizard, the only one on the desktop: its caption, every text and each button as "TEXT/enabled".
HWND Wizard() {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
        if (::IsWindowVisible(w) && Text(w).rfind(L"Orvanel", 0) == 0) return w;
    }
    return nullptr;
}
bool WizardShows(const std::wstring& text) {
    const HWND wizard = Wizard();
    for (HWND c = wizard ? ::GetWindow(wizard, GW_CHILD) : nullptr; c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (Text(c) == text || Text(c) + (::IsWindowEnabled(c) ? L"/enabled" : L"/disabled") == text) return true;
        for (HWND inner = ::GetWindow(c, GW_CHILD); inner; inner = ::GetWindow(inner, GW_HWNDNEXT)) {
            if (Text(inner) == text) return true;
        }
    }
    return false;
}

class Installer : public E2ETest {
protected:
    void SetUp() override {
        E2ETest::SetUp();
        if (setup_.empty()) GTEST_SKIP() << "no installer given (ORVANEL_SETUP)";
        Store(L"Path", folder_);
        Store(L"Drive", std::wstring(1, letter_));
    }
    bool SameFiles() const {
        std::vector<std::wstring> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), dir_).wstring());
        }
        std::sort(files.begin(), files.end());
        return files == std::vector<std::wstring>{L"Help\\Orvanel.chm", L"Orvanel.exe", L"Uninstall.exe"} &&
               Bytes(dir_ / L"Orvanel.exe") == Bytes(built_ / L"Orvanel.exe") &&
               Bytes(dir_ / L"Help\\Orvanel.chm") == Bytes(built_ / L"Help\\Orvanel.chm");
    }
    int Entries() const {
        int n = 0;
        HKEY uninstall = nullptr;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ, &uninstall);
        wchar_t name[256];
        for (DWORD i = 0, size = 256; ::RegEnumKeyExW(uninstall, i, name, &size, nullptr, nullptr, nullptr, nullptr) == 0; ++i, size = 256) {
            const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::wstring(name);
            n += Reg(key.c_str(), L"DisplayName") == L"Orvanel";
        }
        ::RegCloseKey(uninstall);
        return n;
    }
    bool Uninstalled() const {
        return WaitFor([&] { return !fs::exists(dir_) && !fs::exists(shortcut_) && Reg(kUninstallKey, L"DisplayName") == L"missing"; }, 120000);
    }
    bool SettingsKept() const { return Stored(L"Path") == Encoded(folder_); }
    // Runs a wizard through its pages: "=TEXT" waits for a text, anything
    // else clicks that button once it is enabled.
    void ThroughPages(const fs::path& program, const std::wstring& caption, const std::vector<std::wstring>& steps) const {
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION info{};
        std::wstring line = L"\"" + program.wstring() + L"\"";
        ASSERT_TRUE(::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
        EXPECT_TRUE(WaitFor([&] { return WizardShows(steps[0] + L"/enabled"); }, 30000)) << caption;
        EXPECT_EQ(Text(Wizard()), L"Orvanel " + kVersion + L" " + caption);
        static int runs = 0;
        const std::wstring run = L"installer-" + std::to_wstring(++runs) + L"-" + caption + L"-";
        int page = 0;
        for (const std::wstring& step : steps) {
            Pause(300);  // the page drawn, for the eye
            CaptureWindow(Wizard(), 10).Save(run + std::to_wstring(++page));
            if (step[0] == L'=') {
                EXPECT_TRUE(WaitFor([&] { return WizardShows(step.substr(1)); }, 10000)) << caption << " shows " << testing::PrintToString(step);
            } else {
                EXPECT_TRUE(WaitFor([&] { return WizardShows(step + L"/enabled"); }, 60000)) << caption << ": " << testing::PrintToString(step);
                ClickButton(Wizard(), step.substr(1));  // without its & mark
            }
        }
        ::WaitForSingleObject(info.hProcess, 120000);
        DWORD code = 1;
        ::GetExitCodeProcess(info.hProcess, &code);
        EXPECT_EQ(code, 0u) << caption;
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    // Waits for an Orvanel, started by the installer, to be running or not.
    static bool Running(bool wanted) {
        return WaitFor([wanted] { return (::FindWindowW(L"OrvanelTrayWindow", nullptr) != nullptr) == wanted; }, 20000);
    }
    static void TurnedOffInWindows() {
        const BYTE off[12] = {3};
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kMarkKey, L"Orvanel", REG_BINARY, off, sizeof(off));
    }

    const fs::path setup_ = Env(L"ORVANEL_SETUP");
    const fs::path built_ = fs::path(Orvanel::Exe()).parent_path();
    const fs::path dir_ = KnownFolder(FOLDERID_LocalAppData) / L"Programs\\Orvanel";
    const fs::path shortcut_ = KnownFolder(FOLDERID_Programs) / L"Orvanel.lnk";
    const std::wstring autostart_ = L"\"" + (dir_ / L"Orvanel.exe").wstring() + L"\"";
    const std::wstring folder_ = TempFolder(L"Some Folder");
};

TEST_F(Installer, SilentInstallsReinstallsAndAnUninstallThatClosesAMountedOrvanel) {
    EXPECT_NE(setup_.filename().wstring().find(L"Orvanel-" + kVersion + L"-setup.exe"), std::wstring::npos);
    EXPECT_EQ(Launch(setup_, L"/S"), 0u);
    EXPECT_TRUE(SameFiles()) << dir_;
    EXPECT_NE(Bytes(shortcut_).find(Narrow((dir_ / L"Orvanel.exe").wstring())), std::string::npos) << "the shortcut";
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), L"missing") << "no start at sign-in unless asked";
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", L"Orvanel"}, {L"DisplayVersion", kVersion}, {L"Publisher", L"Kestrane"},
        {L"DisplayIcon", (dir_ / L"Orvanel.exe").wstring() + L",0"}, {L"InstallLocation", dir_.wstring()},
        {L"UninstallString", L"\"" + (dir_ / L"Uninstall.exe").wstring() + L"\""},
        {L"QuietUninstallString", L"\"" + (dir_ / L"Uninstall.exe").wstring() + L"\" /S"},
        {L"NoModify", L"0x1"}, {L"NoRepair", L"0x1"}};
    for (const auto& [name, value] : entry) EXPECT_EQ(Reg(kUninstallKey, name), value) << name;
    const auto kib = (fs::file_size(dir_ / L"Orvanel.exe") + fs::file_size(dir_ / L"Help\\Orvanel.chm") +
                      fs::file_size(dir_ / L"Uninstall.exe")) / 1024;
    const auto estimated = std::stoul(Reg(kUninstallKey, L"EstimatedSize").substr(2));
    EXPECT_TRUE(estimated >= kib && estimated <= kib + 3) << estimated << " KiB for " << kib;

    EXPECT_EQ(Launch(setup_, L"/S /AUTOSTART=1"), 0u);
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), autostart_);
    EXPECT_EQ(Launch(setup_, L"/S"), 0u);
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), autostart_) << "a silent reinstall keeps it";
    EXPECT_EQ(Entries(), 1);

    Orvanel app(true, (dir_ / L"Orvanel.exe").wstring());
    app.Post(IDM_ENABLED);  // the program's own menu command: no click needed
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(Mapping(letter_), L"\\??\\" + folder_);
    Launch(dir_ / L"Uninstall.exe", L"/S");
    EXPECT_TRUE(Uninstalled());
    EXPECT_TRUE(app.WaitGone(20000)) << "the uninstaller closed Orvanel";
    EXPECT_TRUE(WaitFor([&] { return Mapping(letter_).empty(); }, 10000)) << "which unmounted the drive";
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), L"missing");
    EXPECT_EQ(Entries(), 0);
    EXPECT_TRUE(SettingsKept());
}

TEST_F(Installer, ThePagesInstallAndUninstallAndAReinstallOffersWhatIsInEffect) {
    ThroughPages(setup_, L"Setup", {L"&Next >", L"=Choose options", L"&Install", L"&Finish"});
    EXPECT_TRUE(Running(true)) << "Start Orvanel now, ticked, started it";
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), autostart_) << "Start Orvanel when I sign in, ticked at first";
    EXPECT_TRUE(SameFiles());
    ThroughPages(dir_ / L"Uninstall.exe", L"Uninstall", {L"&Uninstall", L"&Close"});
    EXPECT_TRUE(Running(false)) << "the running Orvanel was closed";
    EXPECT_TRUE(Uninstalled());
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), L"missing");
    EXPECT_TRUE(SettingsKept()) << "the box to remove them was not ticked";

    // Windows' Startup apps page turned it off: a silent reinstall keeps
    // that, /AUTOSTART=1 turns it on again, and the pages offer what is in effect.
    EXPECT_EQ(Launch(setup_, L"/S /AUTOSTART=0"), 0u);
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), L"missing");
    Launch(setup_, L"/S /AUTOSTART=1");
    TurnedOffInWindows();
    Launch(setup_, L"/S");
    EXPECT_EQ(Reg(kRunKey, L"Orvanel") + L" " + Reg(kMarkKey, L"Orvanel"), autostart_ + L" binary 3");
    Launch(setup_, L"/S /AUTOSTART=1");
    EXPECT_EQ(Reg(kMarkKey, L"Orvanel"), L"missing");
    TurnedOffInWindows();
    {
        Orvanel running(true, (dir_ / L"Orvanel.exe").wstring());
        ThroughPages(setup_, L"Setup", {L"&Next >", L"&Install", L"&Finish"});
        EXPECT_TRUE(running.WaitGone(1000)) << "the running copy was closed";
    }
    EXPECT_EQ(Reg(kRunKey, L"Orvanel") + L" " + Reg(kMarkKey, L"Orvanel"), L"missing missing") << "offered unticked, left so";
    EXPECT_EQ(Entries(), 1);
    EXPECT_TRUE(Running(true)) << "and the last page started it again";
    Launch(dir_ / L"Uninstall.exe", L"/S");
    EXPECT_TRUE(Uninstalled());
}

TEST_F(Installer, InstallingOverAnOlderBuildReplacesItAndKeepsTheUsersChoices) {
    const fs::path older = Env(L"ORVANEL_OLDER_SETUP");
    if (older.empty()) GTEST_SKIP() << "no older build given (ORVANEL_OLDER_SETUP)";
    EXPECT_EQ(Launch(older, L"/S /AUTOSTART=1"), 0u);
    EXPECT_NE(Reg(kUninstallKey, L"DisplayVersion"), kVersion);
    {
        Orvanel running(true, (dir_ / L"Orvanel.exe").wstring());
        EXPECT_EQ(Launch(setup_, L"/S"), 0u);
        EXPECT_TRUE(running.WaitGone(1000)) << "it closed the running older copy";
    }
    EXPECT_EQ(Entries(), 1);
    EXPECT_EQ(Reg(kUninstallKey, L"DisplayVersion"), kVersion);
    EXPECT_TRUE(SameFiles());
    EXPECT_EQ(Reg(kRunKey, L"Orvanel"), autostart_);
    EXPECT_TRUE(SettingsKept());
    Launch(dir_ / L"Uninstall.exe", L"/S");
    EXPECT_TRUE(Uninstalled());
}

}  // namespace
}  // namespace e2e
