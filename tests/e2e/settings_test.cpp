// The settings dialog opened from the tray menu, driven with real keys and
// clicks, read back from its controls, and what OK stores.
#include "harness.h"

#include "resource.h"

namespace e2e {
namespace {

constexpr wchar_t kTitle[] = L"Select Path to Make As drive";
const std::wstring kLong(51, L'L');  // five of them nest deeper than subst.exe maps
const std::wstring kSmile = L"Smile \U0001F600";  // no ANSI code page holds it
const std::wstring kNoFolder = L"Mount:greyed - Settings - About... Help - Exit";
const std::wstring kUnmounted = L"Mount - Settings - About... Help - Exit";

void MakeFolder(const std::wstring& path) { ::CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr); }

// The machine: a data drive with folders, and a drive that is there but not
// ready (its folder goes while the dialog is open).
class Settings : public E2ETest {
protected:
    static void SetUpTestSuite() {
        // Under Wine a mapping made with DefineDosDevice cannot be browsed,
        // so the Wine wrapper gives the prefix the two drives before it
        // starts and names them: ORVANEL_E2E_DRIVES="D=C:\\folder;E=C:\\other".
        // Elsewhere they are two free letters one after the other, mapped here.
        const std::wstring given = Env(L"ORVANEL_E2E_DRIVES");
        const std::size_t split = given.find(L';');
        if (split != std::wstring::npos) {
            data_ = given[0];
            data_root_ = given.substr(2, split - 2);
            not_ready_ = given[split + 1];
            not_ready_root_ = given.substr(split + 3);
        } else {
            const auto free = [](wchar_t l) { return ((::GetLogicalDrives() >> (l - L'A')) & 1) == 0 && Mapping(l).empty(); };
            for (data_ = L'D'; data_ < L'X' && !(free(data_) && free(data_ + 1)); ++data_) {
            }
            not_ready_ = static_cast<wchar_t>(data_ + 1);
            data_root_ = TempFolder(L"data-drive");
            not_ready_root_ = TempFolder(L"not-ready");
            ::DefineDosDeviceW(0, Drive(data_).c_str(), data_root_.c_str());
            ::DefineDosDeviceW(0, Drive(not_ready_).c_str(), not_ready_root_.c_str());
        }
        for (const wchar_t* f : {L"\\Data", L"\\Data\\Work", L"\\Data\\Work\\src", L"\\Data\\Work\\docs", L"\\Other"}) {
            MakeFolder(data_root_ + f);
        }
        MakeFolder(data_root_ + L"\\" + kSmile);
        std::wstring deep = data_root_;
        for (int i = 0; i < 5; ++i) MakeFolder(deep += L"\\" + kLong);
        MakeFolder(not_ready_root_);
    }
    static void TearDownTestSuite() {
        if (!Env(L"ORVANEL_E2E_DRIVES").empty()) return;
        for (const wchar_t letter : {data_, not_ready_}) {
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, Drive(letter).c_str(), nullptr);
        }
    }
    void SetUp() override {
        E2ETest::SetUp();
        if (!HasNotificationArea()) GTEST_SKIP() << "no notification area";
    }
    static std::wstring Drive(wchar_t letter) { return {letter, L':'}; }
    std::wstring D(const std::wstring& rest = L"") const { return Drive(data_) + L"\\" + rest; }
    void StoreWorkAndX() const {
        Store(L"Path", D(L"Data\\Work"));
        Store(L"Drive", L"X");
    }

    HWND Open(const Orvanel& app) const {
        ChooseFromMenu(app.Window(), L"Settings");
        return WaitShown(L"#32770", kTitle, 5000);
    }
    static HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
    // The drive Drive1 shows ("D:"), the letter box, Dir1's rows joined by
    // "|" with the selected one in brackets.
    static std::wstring DriveShown(HWND dialog) {
        const std::vector<std::wstring> rows = Rows(Item(dialog, IDC_DRIVE1));
        const int selected = Selection(Item(dialog, IDC_DRIVE1));
        return selected >= 0 && selected < static_cast<int>(rows.size()) ? rows[selected].substr(0, 2) : L"";
    }
    static std::wstring Folders(HWND dialog) {
        const std::vector<std::wstring> rows = Rows(Item(dialog, IDC_DIR1));
        const int selected = Selection(Item(dialog, IDC_DIR1));
        std::wstring joined;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            joined += (i ? L"|" : L"") + (i == selected ? L"[" + rows[i] + L"]" : rows[i]);
        }
        return joined;
    }
    static std::wstring ShownAll(HWND dialog) {
        return DriveShown(dialog) + L" " + Text(Item(dialog, IDC_DRIVE_LETTER)) + L" " + Folders(dialog);
    }
    std::wstring WorkRows() const { return Drive(data_) + L"\\|Data|[Work]|docs|src"; }

    // Arrow keys in the drive list, as many as it takes, each moving Dir1 on.
    static void ToDrive(HWND dialog, wchar_t letter) {
        for (int i = 0; i < 26 && DriveShown(dialog) != Drive(letter); ++i) Key(DriveShown(dialog)[0] < letter ? VK_DOWN : VK_UP);
    }
    // Replaces the letter box's text as a user does: click, keys.
    static void TypeLetter(HWND dialog, const std::wstring& letter) {
        Click(Centre(Item(dialog, IDC_DRIVE_LETTER)));
        Key(VK_END);
        Key(VK_HOME, VK_SHIFT);
        Key(VK_DELETE);
        Type(letter);
    }
    static void OpenRow(HWND dialog, const std::wstring& name) {
        const HWND list = Item(dialog, IDC_DIR1);
        const std::vector<std::wstring> rows = Rows(list);
        for (WPARAM i = 0; i < rows.size(); ++i) {
            if (rows[i] != name) continue;
            RECT r{};
            ::SendMessageW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
            ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
            return Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 2);
        }
        ADD_FAILURE() << "no row " << testing::PrintToString(name);
    }
    // OK with `letter` (or the key `key`) is refused: the message holds
    // `says`, the dialog stays, the focus goes to control `focus`.
    static void Refused(HWND dialog, const std::wstring& letter, const std::wstring& says, int focus, WORD key = 0) {
        TypeLetter(dialog, letter);
        if (key) {
            Key(key);
        } else {
            ClickButton(dialog, L"OK");
        }
        const std::wstring message = AnswerMessage();
        EXPECT_NE(message.find(says), std::wstring::npos) << testing::PrintToString(letter) << ": " << testing::PrintToString(message);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays after " << testing::PrintToString(letter);
        EXPECT_EQ(FocusId(), focus) << "after " << testing::PrintToString(letter);
    }
    static void Close(HWND dialog) {
        Key(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000));
    }

    static inline wchar_t data_ = 0;
    static inline wchar_t not_ready_ = 0;
    static inline std::wstring data_root_;
    static inline std::wstring not_ready_root_;
};

TEST_F(Settings, FirstUseOpensOnDriveCWithZInTheTabOrderAndWithoutATaskbarButton) {
    Orvanel app;
    const HWND taskbar = Shown(L"Shell_TrayWnd", nullptr);
    RECT strip{};
    ::GetWindowRect(taskbar, &strip);
    strip = {strip.left + 60, strip.top + 2, strip.right - 124, strip.bottom - 2};
    const Shot before = Capture(strip);
    const HWND dialog = Open(app);
    ASSERT_NE(dialog, nullptr);
    // Drive C at its current folder, the path down to it open.
    EXPECT_EQ(ShownAll(dialog).substr(0, 8), L"C: Z C:\\") << testing::PrintToString(ShownAll(dialog));
    EXPECT_EQ(FocusId(), IDC_DRIVE1);
    std::vector<int> order;
    for (int i = 0; i < 7; ++i, Key(VK_TAB)) order.push_back(FocusId());
    EXPECT_EQ(order, (std::vector<int>{IDC_DRIVE1, IDC_DIR1, IDC_MOUNT_AT_START, IDC_START_AT_SIGN_IN, IDOK, IDCANCEL,
                                       IDC_DRIVE_LETTER}));
    EXPECT_EQ(FocusId(), IDC_DRIVE1);
    EXPECT_EQ(Capture(strip).pixels, before.pixels) << "no taskbar button for the dialog";

    // Cancel, Escape and the close box keep nothing.
    const std::vector<std::wstring> drives = Rows(Item(dialog, IDC_DRIVE1));
    const int c_row = Selection(Item(dialog, IDC_DRIVE1));
    Key(VK_DOWN);
    EXPECT_EQ(DriveShown(dialog), drives.at(c_row + 1).substr(0, 2)) << "the arrow key moves Drive1 on";
    TypeLetter(dialog, L"q");
    ClickButton(dialog, L"Cancel");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000)) << "Cancel closes it";
    const HWND again = Open(app);
    EXPECT_EQ(ShownAll(again).substr(0, 4), L"C: Z") << "reopened after Cancel";
    Close(again);
    const HWND third = Open(app);
    ::PostMessageW(third, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([third] { return !::IsWindow(third); }, 3000)) << "the close box closes it";
    EXPECT_FALSE(Stored(L"Drive") || Stored(L"Path"));
    EXPECT_EQ(Look(OpenMenu(app.Window())), kNoFolder);
    Key(VK_ESCAPE);
}

TEST_F(Settings, ChosenFolderAndLetterAreStoredAndMounted) {
    Orvanel app;
    const HWND dialog = Open(app);
    ToDrive(dialog, data_);
    EXPECT_EQ(ShownAll(dialog), Drive(data_) + L" Z [" + D() + L"]|Data|" + kLong + L"|Other|" + kSmile);
    OpenRow(dialog, L"Data");
    EXPECT_EQ(Folders(dialog), D() + L"|[Data]|Work") << "a double click opens Data";
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(Folders(dialog), WorkRows()) << "Enter opens Work and does not press OK";
    TypeLetter(dialog, L"y");
    ClickButton(dialog, L"OK");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000));
    EXPECT_EQ(AnswerMessage(300), L"");
    EXPECT_EQ(Stored(L"Drive"), Encoded(L"y"));
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data\\Work")));
    std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted) << "Mount is usable after the save";
    Choose(menu, L"Mount");
    ASSERT_TRUE(app.WaitCommands(1));
    EXPECT_EQ(app.Commands().back(), L"subst.exe y: \"" + D(L"Data\\Work") + L"\"");
    EXPECT_EQ(Mapping(L'Y'), L"\\??\\" + D(L"Data\\Work"));
    ChooseFromMenu(app.Window(), L"Unmount");
    app.WaitCommands(2);
}

TEST_F(Settings, TheHighlightedFolderIsTheOneSaved) {
    StoreWorkAndX();
    Orvanel app;
    HWND dialog = Open(app);
    EXPECT_EQ(Folders(dialog), WorkRows()) << "opens with the stored folder open and highlighted";
    Key(VK_TAB);
    Key(VK_UP);  // from Work to Data, its parent
    ClickButton(dialog, L"OK");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000));
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data")));
    dialog = Open(app);
    EXPECT_EQ(Folders(dialog), D() + L"|[Data]|Work");
    Key(VK_TAB);
    Key(VK_DOWN);  // to Work, a subfolder
    ClickButton(dialog, L"OK");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000));
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data\\Work")));
}

TEST_F(Settings, StoredValuesOpenTheListsThereAndOneDialogIsBroughtForward) {
    StoreWorkAndX();
    Orvanel app;
    const HWND dialog = Open(app);
    EXPECT_EQ(ShownAll(dialog), Drive(data_) + L" X " + WorkRows());
    for (const std::wstring& row : Rows(Item(dialog, IDC_DRIVE1))) {
        wchar_t name[MAX_PATH + 1] = L"";
        const std::wstring root = row.substr(0, 2) + L"\\";
        ::GetVolumeInformationW(root.c_str(), name, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(row, row.substr(0, 2) + (name[0] ? L" [" + std::wstring(name) + L"]" : L""));
    }
    CaptureWindow(dialog, 10).Save(L"settings-" + std::to_wstring(::GetDpiForSystem()));
    // The icon brings the open dialog forward instead of a menu.
    RightPress(IconAt(app.Window()));
    RightRelease();
    Pause(500);
    EXPECT_FALSE(MenuOpen());
    EXPECT_EQ(Foreground(), kTitle);
    EXPECT_EQ(FocusId(), IDC_DRIVE1);
    ToDrive(dialog, L'C');
    EXPECT_EQ(ShownAll(dialog).substr(0, 8), L"C: X C:\\") << "Dir1 follows the drive, the letter stays";
    ToDrive(dialog, data_);
    // A drive that is not ready: the message names it, the list stays.
    const std::wstring before = ShownAll(dialog);
    ASSERT_TRUE(::RemoveDirectoryW(not_ready_root_.c_str())) << ::GetLastError();
    Key(VK_DOWN);
    EXPECT_EQ(AnswerMessage(), L"Drive " + Drive(not_ready_) + L" is not ready.");
    EXPECT_TRUE(WaitFor([&] { return ShownAll(dialog) == before; }, 3000)) << testing::PrintToString(ShownAll(dialog));
    MakeFolder(not_ready_root_);
    Close(dialog);
}

TEST_F(Settings, WhatCannotBeMappedIsRefusedAndNothingIsWritten) {
    StoreWorkAndX();
    Orvanel app;
    HWND dialog = Open(app);
    Refused(dialog, L"", L"A to Z", IDC_DRIVE_LETTER);
    for (const wchar_t* bad : {L"xy", L"1", L"X:"}) Refused(dialog, bad, L"A to Z", IDC_DRIVE_LETTER, VK_RETURN);
    Type(L"w");
    EXPECT_EQ(Text(Item(dialog, IDC_DRIVE_LETTER)), L"w") << "the refused text was selected";
    Refused(dialog, L"c", L"Drive C: is already in use", IDC_DRIVE_LETTER, VK_RETURN);
    Subst(drive_ + L" C:\\windows");
    Refused(dialog, std::wstring(1, letter_), L"Drive " + drive_ + L" is already in use", IDC_DRIVE_LETTER);
    Subst(drive_ + L" /d");
    OpenRow(dialog, D());
    OpenRow(dialog, kSmile);
    Refused(dialog, L"m", L"characters", IDC_DIR1, VK_RETURN);
    Close(dialog);
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data\\Work")));
    EXPECT_EQ(Stored(L"Drive"), Encoded(L"X"));

    std::wstring deep = D();
    for (int i = 0; i < 5; ++i) deep += (i ? L"\\" : L"") + kLong;
    Store(L"Path", deep);
    dialog = Open(app);
    EXPECT_NE(Folders(dialog).find(L"[" + kLong + L"]"), std::wstring::npos) << "Dir1 opens the deep folder";
    Refused(dialog, L"m", L"259", IDC_DIR1);
    Close(dialog);
    EXPECT_EQ(Stored(L"Path"), Encoded(deep));

    Subst(drive_ + L" \"" + D(L"Data\\Work") + L"\"");
    Store(L"Path", D(L"Data\\Work"));
    dialog = Open(app);
    TypeLetter(dialog, std::wstring(1, letter_));
    ClickButton(dialog, L"OK");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000)) << "a letter mapped to the folder is free for it";
    EXPECT_EQ(Stored(L"Drive"), Encoded(std::wstring(1, letter_)));
}

TEST_F(Settings, AStoredFolderOrDriveThatIsGoneOpensWhatIsThere) {
    Store(L"Path", D(L"Data\\Work\\Gone\\Deeper"));
    Orvanel app;
    HWND dialog = Open(app);
    EXPECT_EQ(Folders(dialog), WorkRows()) << "the nearest existing parent";
    Close(dialog);
    Store(L"Path", drive_ + L"\\Nowhere");
    ChooseFromMenu(app.Window(), L"Settings");
    EXPECT_EQ(AnswerMessage(5000), L"Drive " + drive_ + L" does not exist.");
    dialog = WaitShown(L"#32770", kTitle, 3000);
    ASSERT_NE(dialog, nullptr) << "the dialog opens all the same";
    EXPECT_EQ(DriveShown(dialog), L"C:");
    Close(dialog);
}

TEST_F(Settings, ASaveTheRegistryRefusesIsReportedAndMountStaysGreyed) {
    // Below a volatile key no lasting key can be created: every write fails.
    Forget(HKEY_CURRENT_USER, kMakerKey);
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kMakerKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    ::RegCloseKey(key);
    Orvanel app;
    const HWND dialog = Open(app);
    TypeLetter(dialog, L"y");
    ClickButton(dialog, L"OK");
    EXPECT_EQ(AnswerMessage(), L"Unable to save your settings");
    EXPECT_TRUE(WaitFor([dialog] { return !::IsWindow(dialog); }, 3000)) << "the dialog closes after the report";
    EXPECT_FALSE(Stored(L"Drive"));
    EXPECT_EQ(Look(OpenMenu(app.Window())), kNoFolder);
    Key(VK_ESCAPE);
    Forget(HKEY_CURRENT_USER, kMakerKey);
}

TEST_F(Settings, OpensWithItsListsFilledAtEveryScale) {
    StoreWorkAndX();
    Orvanel app;
    const HWND dialog = Open(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ShownAll(dialog), Drive(data_) + L" X " + WorkRows());
    CaptureWindow(dialog, 10).Save(L"settings-" + std::to_wstring(::GetDpiForSystem()));
    TypeLetter(dialog, L"xy");
    ClickButton(dialog, L"OK");
    const HWND box = WaitShown(L"#32770", L"Orvanel", 3000);
    CaptureWindow(box, 10).Save(L"message-" + std::to_wstring(::GetDpiForSystem()));
    AnswerMessage();
    Close(dialog);
}

}  // namespace
}  // namespace e2e
