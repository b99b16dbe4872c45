// The settings dialog opened from the tray menu, driven with real keys and
// clicks, and what OK stores and Mount then maps.
#include "harness.h"

#include <algorithm>

#include "resource.h"

namespace e2e {
namespace {

constexpr wchar_t kTitle[] = L"Select Path to Make As drive";
const std::wstring kSmile = L"Smile \U0001F600";  // no ANSI code page holds it

// A data drive with folders to choose from.
struct Settings : E2ETest {
    static void SetUpTestSuite() {
        // Given under Wine (ORVANEL_E2E_DRIVE="D=C:\\folder"); elsewhere the first free letter, leaving the next to the test.
        const std::wstring given = Env(L"ORVANEL_E2E_DRIVE");
        data_ = given.empty() ? FreeLetter() : given[0];
        root_ = given.empty() ? TempFolder(L"data-drive") : given.substr(2);
        if (given.empty()) ::DefineDosDeviceW(0, Drive().c_str(), root_.c_str());
        for (const std::wstring& f : std::vector<std::wstring>{L"\\Data", L"\\Data\\Work", L"\\Data\\Work\\docs", L"\\Data\\Work\\src", L"\\Other", L"\\" + kSmile})
            ::CreateDirectoryW((L"\\\\?\\" + root_ + f).c_str(), nullptr);
    }
    static void TearDownTestSuite() { if (Env(L"ORVANEL_E2E_DRIVE").empty()) ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, Drive().c_str(), nullptr); }
    static std::wstring Drive() { return {data_, L':'}; }
    static std::wstring D(const std::wstring& rest = L"") { return Drive() + L"\\" + rest; }

    static HWND Open(const Orvanel& app) {
        ChooseFromMenu(app.Window(), L"Settings");
        return WaitShown(L"#32770", kTitle);
    }
    static HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
    // "D: X D:\|Data|[Work]|docs": the drive shown, the letter, the folder
    // list's rows with the highlighted one in brackets.
    static std::wstring Shows(HWND dialog) {
        const std::vector<std::wstring> rows = Rows(Item(dialog, IDC_DIR1));
        std::wstring shown = Text(Item(dialog, IDC_DRIVE1)).substr(0, 2) + L" " + Text(Item(dialog, IDC_DRIVE_LETTER)) + L" ";
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            shown += (i ? L"|" : L"") + (i == Selection(Item(dialog, IDC_DIR1)) ? L"[" + rows[i] + L"]" : rows[i]);
        }
        return shown;
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
        // The last such row: an open folder's subfolder comes after its namesake ancestors.
        const auto row = std::find(rows.rbegin(), rows.rend(), name);
        ASSERT_NE(row, rows.rend()) << testing::PrintToString(name);
        RECT r{};
        ::SendMessageW(list, LB_GETITEMRECT, rows.rend() - row - 1, reinterpret_cast<LPARAM>(&r));
        ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
        Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 2);
    }

    static inline wchar_t data_ = 0;
    static inline std::wstring root_;
    const std::wstring typed_{static_cast<wchar_t>(letter_ - L'A' + L'a')};  // the test's letter, as a user types it
};

TEST_F(Settings, FirstUseKeepsNothingOnCancelOrEscapeAndReportsASaveTheRegistryRefuses) {
    Orvanel app;
    EXPECT_EQ(Look(OpenMenu(app.Window())), kNoFolder);
    Key(VK_ESCAPE);
    HWND dialog = Open(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Shows(dialog).substr(0, 5) + std::to_wstring(Shows(dialog).find(L"C:\\") < 7), L"C: Z 1")
        << "drive C at its current folder: " << testing::PrintToString(Shows(dialog));
    EXPECT_EQ(FocusId(), IDC_DRIVE1);
    Key(VK_DOWN);
    TypeLetter(dialog, L"q");
    ClickButton(dialog, L"Cancel");
    EXPECT_TRUE(WaitClosed(dialog)) << "Cancel";
    dialog = Open(app);
    EXPECT_EQ(Shows(dialog).substr(0, 4), L"C: Z") << "reopened after Cancel";
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed(dialog)) << "Escape";
    EXPECT_FALSE(Stored(L"Drive") || Stored(L"Path"));

    // Below a volatile key no lasting key can be created: every write fails.
    Forget(HKEY_CURRENT_USER, kMakerKey);
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kMakerKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    ::RegCloseKey(key);
    dialog = Open(app);
    TypeLetter(dialog, typed_);
    ClickButton(dialog, L"OK");
    EXPECT_EQ(AnswerMessage(), L"Unable to save your settings");
    EXPECT_TRUE(WaitClosed(dialog)) << "the dialog closes after the report";
    Forget(HKEY_CURRENT_USER, kMakerKey);
    EXPECT_FALSE(Stored(L"Drive"));
    EXPECT_EQ(Look(OpenMenu(app.Window())), kNoFolder);
    Key(VK_ESCAPE);
}

TEST_F(Settings, TheHighlightedFolderAndTheLetterAreStoredAndMounted) {
    Orvanel app;
    const HWND dialog = Open(app);
    for (int i = 0; i < 26 && Shows(dialog)[0] != data_; ++i) Key(static_cast<WORD>(Shows(dialog)[0] < data_ ? VK_DOWN : VK_UP));
    EXPECT_EQ(Shows(dialog), Drive() + L" Z [" + D() + L"]|Data|Other|" + kSmile);
    OpenRow(dialog, L"Data");
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(Shows(dialog), Drive() + L" Z " + D() + L"|Data|[Work]|docs|src") << "Enter opens Work, OK is not pressed";
    Key(VK_DOWN);
    TypeLetter(dialog, typed_);
    ClickButton(dialog, L"OK");
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data\\Work\\docs"))) << "the highlighted folder";
    EXPECT_EQ(Stored(L"Drive"), Encoded(typed_));
    const std::vector<MenuItem> menu = OpenMenu(app.Window());
    EXPECT_EQ(Look(menu), kUnmounted) << "Mount is usable after the save";
    Choose(menu, L"Mount");
    EXPECT_TRUE(Maps(letter_, D(L"Data\\Work\\docs")));
    ChooseFromMenu(app.Window(), L"Unmount");
    EXPECT_TRUE(Maps(letter_, L""));
}

TEST_F(Settings, WhatCannotBeMappedIsRefusedAndNothingIsWritten) {
    Store(L"Path", D(L"Data\\Work"));
    Store(L"Drive", L"X");
    Subst(drive_ + L" C:\\windows");
    Orvanel app;
    HWND dialog = Open(app);
    EXPECT_EQ(Shows(dialog), Drive() + L" X " + D() + L"|Data|[Work]|docs|src");
    struct Case { std::wstring letter, says; int focus; };  // the last with a folder no ANSI code page holds
    const Case cases[] = {
        {L"", L"A to Z", IDC_DRIVE_LETTER}, {L"xy", L"A to Z", IDC_DRIVE_LETTER}, {L"X:", L"A to Z", IDC_DRIVE_LETTER},
        {L"c", L"Drive C: is already in use", IDC_DRIVE_LETTER},
        {std::wstring(1, letter_), L"Drive " + drive_ + L" is already in use", IDC_DRIVE_LETTER}, {L"m", L"characters", IDC_DIR1},
    };
    for (const Case& c : cases) {
        if (c.focus == IDC_DIR1) OpenRow(dialog, D()), OpenRow(dialog, kSmile);
        TypeLetter(dialog, c.letter);
        Key(VK_RETURN);
        const std::wstring message = AnswerMessage();
        EXPECT_NE(message.find(c.says), std::wstring::npos) << testing::PrintToString(c.letter) << ": " << testing::PrintToString(message);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays after " << testing::PrintToString(c.letter);
        EXPECT_TRUE(WaitFor([&] { return FocusId() == c.focus; }, 2000)) << "after " << testing::PrintToString(c.letter) << ": " << FocusId();
    }
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed(dialog));
    EXPECT_EQ(Stored(L"Path"), Encoded(D(L"Data\\Work")));
    EXPECT_EQ(Stored(L"Drive"), Encoded(L"X"));
}

}  // namespace
}  // namespace e2e
