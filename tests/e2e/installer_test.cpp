// The per-user installer scripts/package makes (ORVANEL_SETUP), as an upgrade
// meets it: installed, installed again over the copy running mounted, uninstalled.
#include "harness.h"

#include <filesystem>

namespace e2e {
namespace {

namespace fs = std::filesystem;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring RunValue() {
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Orvanel", RRF_RT_REG_SZ, nullptr, value, &size) ? L"" : value;
}

struct Installer : E2ETest {
    Installer() { clicks_ = false; }  // it installs silently: no click
};

TEST_F(Installer, AnUpgradeOverAMountedCopyKeepsItRunningAndAnUninstallLeavesNothingButTheSettings) {
    const fs::path setup = Env(L"ORVANEL_SETUP");
    if (setup.empty()) GTEST_SKIP() << "no installer given (ORVANEL_SETUP)";
    const fs::path dir = fs::path(Env(L"LOCALAPPDATA")) / L"Programs\\Orvanel";
    StoreSettings(true);
    ASSERT_EQ(Launch(setup, L"/S /AUTOSTART=1", 50000), 0u) << "a setup that hangs fails within a minute";
    EXPECT_EQ(RunValue(), L"\"" + (dir / L"Orvanel.exe").wstring() + L"\"") << "starts at sign-in";
    auto installed = std::make_unique<Orvanel>(true, (dir / L"Orvanel.exe").wstring());
    ASSERT_TRUE(Maps(letter_, folder_)) << "the installed copy mounts at start";

    ASSERT_EQ(Launch(setup, L"/S", 50000), 0u);
    EXPECT_TRUE(installed->WaitGone(1000)) << "the running copy was closed";
    EXPECT_TRUE(WaitFor([&] { return TrayWindows().size() == 1 && ProcessOf(TrayWindows()[0]) != ::GetProcessId(installed->Process()); }, 15000))
        << "and the new one started";
    EXPECT_TRUE(Maps(letter_, folder_)) << "with its drive";
    installed.reset();

    ASSERT_EQ(Launch(dir / L"Uninstall.exe", L"/S"), 0u);
    EXPECT_TRUE(WaitFor([] { return TrayWindows().empty(); }, 15000)) << "the uninstaller closed Orvanel";
    EXPECT_TRUE(Maps(letter_, L"")) << "which unmounted the drive";
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(dir) && RunValue().empty(); }, 30000)) << "no program, no start at sign-in";
    EXPECT_EQ(Stored(L"Path"), Encoded(folder_)) << "the settings kept";
}

}  // namespace
}  // namespace e2e
