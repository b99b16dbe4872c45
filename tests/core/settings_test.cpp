// Settings: the stored values' encoding and the store's rules (the real
// registry's bytes are checked under Wine), the maker values' sync, the
// dialog's rules and options, its folder list and its layout in twips.
#include "drive_layout.h"
#include "folder_list.h"
#include "maker_values.h"
#include "twips.h"
#include "settings_rules.h"
#include "value_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <tuple>
#include <set>
#include <vector>

namespace orvanel {
namespace {

// An in-memory registry whose failures the tests choose, and a reporter
// that keeps what it was told.
class FakeRegistry final : public RegistryPort {
public:
    std::map<std::tuple<RootKey, std::string, std::string>, std::string> values;
    std::vector<std::string> created;  // the paths of the keys created
    std::vector<std::string> order;    // the names of the values set, in order
    std::set<std::string> keys;
    bool refuse_create = false, refuse_set = false;

    std::optional<std::string> QueryString(RootKey root, const std::string& path, const std::string& name) override {
        const auto it = values.find({root, path, name});
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::unique_ptr<WritableKey> CreateKey(RootKey root, const std::string& path) override {
        if (refuse_create) return nullptr;
        created.push_back(path);
        for (auto end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) keys.insert(path.substr(0, end));
        keys.insert(path);
        return std::make_unique<Key>([this, root, path](const std::string& name, const std::string& data) {
            if (refuse_set) return false;
            order.push_back(name);
            values[{root, path, name}] = data;
            return true;
        });
    }
    bool HasKey(RootKey, const std::string& path) override { return keys.count(path) > 0; }
    bool DeleteValue(RootKey root, const std::string& path, const std::string& name) override {
        return values.erase({root, path, name}), true;
    }
    bool DeleteKey(RootKey root, const std::string& path) override {
        if (std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return k.rfind(path + "\\", 0) == 0; })) return false;
        for (const char* name : kDriveValueNames) values.erase({root, path, name});
        return keys.erase(path), true;
    }

private:
    struct Key final : WritableKey {
        explicit Key(std::function<bool(const std::string&, const std::string&)> set) : set_(std::move(set)) {}
        bool SetString(const std::string& name, const std::string& data) override { return set_(name, data); }
        std::function<bool(const std::string&, const std::string&)> set_;
    };
};

struct RecordingReporter final : ErrorReporter {
    std::vector<std::string> messages;
    void Report(const std::string& message) override { messages.push_back(message); }
};

TEST(ValueCodec, EveryCodeMapsTo255MinusItAndBackUpToTheSixteenBitCounter) {
    std::string all;
    for (int c = 0; c <= 255; ++c) all.push_back(static_cast<char>(c));
    const std::string reversed(all.rbegin(), all.rend());  // 255 - c at each code c
    EXPECT_EQ(EncodeValue(all).text + DecodeValue(reversed).text, reversed + all);
    EXPECT_EQ(EncodeValue(std::string(32766, 'x')).text, std::string(32766, static_cast<char>(255 - 'x')));
    for (const std::size_t length : {32767u, 70000u})
        EXPECT_EQ(EncodeValue(std::string(length, 'x')).error + DecodeValue(std::string(length, 'x')).error, 2 * kErrorOverflow);
    EXPECT_EQ(StoreErrorMessage(kErrorOverflow), "ERROR # 6 : Overflow\rPlease exit and try again.");
}

TEST(SettingsStore, ReadsAnotherToolsValuesRefusedAndOverlongWritesChangeNothing) {
    constexpr RootKey kUser = RootKey::CurrentUser;
    FakeRegistry registry;
    RecordingReporter errors;
    const auto write = [&](const std::string& value) { return WriteStoredValue(registry, errors, kUser, "K", "V", value); };
    const auto read = [&] { return ReadStoredSetting(registry, errors, kUser, "K", "V"); };
    EXPECT_EQ(read().status, ReadStatus::Missing);  // so that the caller's default applies
    ASSERT_TRUE(write("False"));
    EXPECT_EQ((registry.values[{kUser, "K", "V"}]), std::string("\xB9\x9E\x93\x8C\x9A\0", 6));  // with its terminator
    EXPECT_EQ(read().status, ReadStatus::Read) << "a folder may be named False";
    registry.values[{kUser, "K", "V"}] = "\xA7";  // "X" without a terminator, written by another tool
    EXPECT_EQ(read().text, "X");
    registry.values[{kUser, "K", "V"}] = std::string(32767, 'x');
    EXPECT_EQ(read().status, ReadStatus::Failed);
    EXPECT_EQ(errors.messages, std::vector<std::string>{StoreErrorMessage(kErrorOverflow)});
    registry.values[{kUser, "K", "V"}] = "\xA7";
    const auto before = registry.values;
    registry.refuse_create = true;
    EXPECT_FALSE(write("Y"));
    registry.refuse_create = false;
    registry.refuse_set = true;
    EXPECT_FALSE(write("Y"));
    EXPECT_EQ(errors.messages.size(), 1u) << "refused silently";
    registry.refuse_set = false;
    registry.created.clear();
    EXPECT_FALSE(write(std::string(32767, 'p')));  // reported after the key was created
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(registry.created, std::vector<std::string>{"K"});
    EXPECT_EQ(registry.values, before);
}

// Settings of any release open as the first drive, and the first drive is
// where any release looks; further drives close up without losing one.
TEST(DriveLayout, TheFirstDriveStaysInTheProgramsKeyFurtherOnesMoveUpAndNoneIsLost) {
    constexpr RootKey kUser = RootKey::CurrentUser;
    FakeRegistry registry;
    RecordingReporter errors;
    EXPECT_EQ(DriveKeyPath("K", 0) + "|" + DriveKeyPath("K", 2), "K|K\\Drives\\3");
    EXPECT_EQ(CountStoredDrives(registry, kUser, "K"), 1u) << "nothing stored: the one drive";
    for (std::size_t i = 0; i < 4; ++i) {  // W X Y Z as the dialog stores them; Z is not mounted at start
        const std::string letter(1, static_cast<char>('W' + i));
        WriteStoredValue(registry, errors, kUser, DriveKeyPath("K", i), "Drive", letter);
        WriteStoredValue(registry, errors, kUser, DriveKeyPath("K", i), "Path", "D:\\" + letter);
        if (i < 3) WriteStoredValue(registry, errors, kUser, DriveKeyPath("K", i), "MountAtStart", "1");
    }
    const auto stored = [&] {
        std::string drives;
        for (std::size_t i = 0; i < CountStoredDrives(registry, kUser, "K"); ++i) {
            for (const char* name : kDriveValueNames) drives += ReadStoredSetting(registry, errors, kUser, DriveKeyPath("K", i), name).text + ",";
            drives += " ";
        }
        return drives;
    };
    EXPECT_EQ(stored(), "W,D:\\W,1, X,D:\\X,1, Y,D:\\Y,1, Z,D:\\Z,, ");
    ASSERT_TRUE(RemoveStoredDrive(registry, kUser, "K", 0, 4));
    EXPECT_EQ(stored(), "X,D:\\X,1, Y,D:\\Y,1, Z,D:\\Z,, ") << "the second moved into the program's own values";
    ASSERT_TRUE(RemoveStoredDrive(registry, kUser, "K", 1, 3));
    EXPECT_EQ(stored(), "X,D:\\X,1, Z,D:\\Z,, ");
    registry.refuse_create = true;  // a move that fails leaves every drive there
    EXPECT_FALSE(RemoveStoredDrive(registry, kUser, "K", 0, 2));
    EXPECT_EQ(stored(), "X,D:\\X,1, Z,D:\\Z,, ");
    registry.refuse_create = false;
    ASSERT_TRUE(ForgetStoredDrive(registry, kUser, "K", 1));  // as an Add Drive that failed part-way
    EXPECT_EQ(stored(), "X,D:\\X,1, ");
    EXPECT_FALSE(registry.HasKey(kUser, "K\\Drives")) << "no empty key is left";
    EXPECT_FALSE(ForgetStoredDrive(registry, kUser, "K", 0)) << "the first drive is never forgotten";
    EXPECT_TRUE(errors.messages.empty());
}

TEST(MakerValues, OnlyWhatDiffersFromTheStringTableIsWrittenEmailFirst) {
    const std::vector<MakerValue> table{{"Email", "support@kestrane.example"}, {"Web Page", "https://k.example/"}};
    FakeRegistry registry;
    const auto writes = [&](const std::vector<MakerValue>& values) {
        RecordingReporter errors;
        registry.order.clear();
        SyncMakerValues(registry, errors, RootKey::LocalMachine, "K", values);
        return registry.order;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(writes(table), (Names{"Email", "Web Page"}));
    EXPECT_EQ(writes(table), Names{}) << "both match now";
    registry.values[{RootKey::LocalMachine, "K", "Email"}] = EncodeValue("Support@Kestrane.example").text;
    EXPECT_EQ(writes(table), Names{"Email"}) << "a difference in case is a difference";
    registry.values.clear();
    EXPECT_EQ(writes({{"Email", "1"}}), Names{}) << "a missing value reads as 1 already";
    EXPECT_EQ(VersionText(1, 5) + L"|" + VersionText(10, 0) + L"|" + TooltipText(L"a@k.example"), L"Version 1.5|Version 10.0| a@k.example ");
}

TEST(Options, MountAtStartIsOnOnlyWhenStoredAsOneAndWindowsTurnsOffWithAnOddMark) {
    EXPECT_TRUE(OptionIsOn({ReadStatus::Read, L"1"}));
    for (const StoredSetting& off : {StoredSetting{ReadStatus::Read, L"0"}, {ReadStatus::Read, L" 1"}, {ReadStatus::Read, L"11"},
                                     {ReadStatus::Missing, L"1"}, {ReadStatus::Failed, L"1"}}) EXPECT_FALSE(OptionIsOn(off)) << testing::PrintToString(off.text);
    using Mark = std::vector<std::uint8_t>;
    EXPECT_FALSE(TurnedOffByWindows(std::nullopt) || TurnedOffByWindows(Mark{}) || TurnedOffByWindows(Mark{2, 0, 0}));
    EXPECT_TRUE(TurnedOffByWindows(Mark{3, 0, 0}) && TurnedOffByWindows(Mark{7}));
}

using Texts = std::vector<std::wstring>;
std::string Show(std::wstring_view text) { return testing::PrintToString(std::wstring(text)); }

// This copy started by its short name: `files` maps each spelling that names a file to the file as spelt on disk.
TEST(SignIn, AnEntryIsThisCopysWhenTheFileCreateProcessWouldStartIsThisOneComparedAsWindowsDoes) {
    const std::wstring self = L"C:\\Users\\A B\\Orvanel.exe", short_self = L"C:\\USERS\\AB~1\\ORVANEL.exe";
    std::map<std::wstring, std::wstring> files{{self, self}, {short_self, L"c:/users//a b/ORVANEL.EXE"}, {L"Orvanel.exe", self}, {L"C:\\Users\\A.exe", L"C:\\Users\\A.exe"}};
    const RealFileOf real = [&](const std::wstring& path) { const auto file = files.find(path); return file == files.end() ? std::nullopt : std::optional(file->second); };
    const auto starts = [&](const std::wstring& command) { return CommandStartsProgram(command, short_self, real); };
    for (const std::wstring& yes : {SignInCommand(self), L"\"" + short_self + L"\" /min", short_self + L" /min", std::wstring(L"\"C:\\USERS\\AB~1\\ORVANEL\"")})
        EXPECT_TRUE(starts(yes)) << Show(yes);
    for (const std::wstring& no : {std::wstring(L"\"C:\\Gone\\Orvanel.exe\""), self, L"\"" + self, std::wstring(L"Orvanel.exe"), std::wstring(L"\"\"")})
        EXPECT_FALSE(starts(no)) << Show(no);
    files.erase(L"C:\\Users\\A.exe");
    EXPECT_TRUE(starts(self + L" /min")) << "unquoted, tried up to each blank (C:\\Users\\A.exe came first), then whole";
}

TEST(StoredPath, SplitsIntoTheDrivePartAndTheRestWhichNamesALetterOnlyWhenItIsOne) {
    for (const auto& [stored, parts] : {std::pair{L"D:\\Data\\Work", L"D:|\\Data\\Work"}, {L"C", L"C|"}, {L"", L"|"}, {L"D:\\", L"D:|\\"}}) {
        EXPECT_EQ(SplitStoredPath(stored).drive + L"|" + SplitStoredPath(stored).folder, parts) << Show(stored);
    }
    EXPECT_EQ(std::wstring(1, *DriveLetterOf(L"d:")) + *DriveLetterOf(L"C") + *DriveLetterOf(L"z"), L"DCZ");
    for (const wchar_t* none : {L"", L"\\\\", L"1:", L"D?", L":", L"\u00c4:", L"D:\\"}) EXPECT_EQ(DriveLetterOf(none), std::nullopt) << Show(none);
    for (const wchar_t* good : {L"A", L"Z", L"a", L"z"}) EXPECT_TRUE(IsDriveLetterText(good)) << Show(good);
    for (const wchar_t* bad : {L"", L"xy", L"1", L"X:", L" X", L"@", L"[", L"`", L"{", L"\u00e9", L"\uff21" /* fullwidth A */})
        EXPECT_FALSE(IsDriveLetterText(bad)) << Show(bad);
}

TEST(SaveChecks, LetterFormThenFolderThenAnotherDrivesLetterThenLetterInUseUnlessItMapsTheFolder) {
    // A machine with C: a disk and Q: mapped to D:\Data\Work; Orvanel has a drive W: besides.
    std::wstring asked;
    const auto use_of = [&](wchar_t letter) {
        asked += letter;
        if (letter == L'C') return LetterUse{true, L"\\Device\\HarddiskVolume1"};
        return letter == L'Q' ? LetterUse{true, L"\\??\\D:\\Data\\Work"} : LetterUse{};
    };
    const std::wstring longest = L"D:\\" + std::wstring(256, L'a');
    struct Case { std::wstring letter, folder; bool ansi; const wchar_t* refused; std::wstring says, asked; };
    const Case cases[] = {
        {L"y", longest, true, nullptr, L"", L"Y"},  // looked up in upper case
        {L"q", L"d:\\data\\work", true, nullptr, L"", L"Q"},  // already maps the very folder
        {L"c", L"D:\\Data", true, L"letter", L"C:", L"C"}, {L"Q", L"D:\\Data", true, L"letter", L"Q:", L"Q"},
        {L"Y", L"D:\\\u65e5\u672c", false, L"folder", L"characters", L""}, {L"Y", longest + L"b", true, L"folder", L"259", L""},
        {L"xy", std::wstring(300, L'a'), false, L"letter", L"A to Z", L""},  // the letter's form first
        {L"C", std::wstring(300, L'a'), true, L"folder", L"259", L""},        // then the folder
        {L"w", L"D:\\Data", true, L"letter", L"W: is already another of Orvanel's drives", L""},
    };
    for (const Case& c : cases) {
        asked.clear();
        const auto refusal = CheckSettingsToSave(c.letter, c.folder, c.ansi, {L"W"}, use_of);
        const std::wstring field = !refusal ? L"none" : refusal->field == SaveField::Letter ? L"letter" : L"folder";
        EXPECT_EQ(field, c.refused ? c.refused : L"none") << Show(c.letter);
        EXPECT_NE((refusal ? refusal->message : L"").find(c.says), std::wstring::npos) << Show(c.letter);
        EXPECT_EQ(asked, c.asked) << Show(c.letter);
    }
}

TEST(DriveLetters, OfTwoDrivesWithOneLetterTheLaterIsRefusedAndANewDriveIsOfferedTheNextFreeLetterFromZ) {
    EXPECT_EQ(LetterClashes({L"X", L"w", L"x", L"W", L"Y"}), (std::vector<bool>{false, false, true, true, false}));
    EXPECT_EQ(NextFreeLetter({L"z"}, [](wchar_t l) { return l == L'Y'; }), L'X') << "Z Orvanel's, Y the machine's";
    EXPECT_EQ(NextFreeLetter({}, [](wchar_t l) { return l < L'D'; }), L'Z');
    EXPECT_EQ(NextFreeLetter({}, [](wchar_t l) { return l > L'C'; }), L'Z') << "none left: the dialog refuses it";
    EXPECT_NE(LetterClashRefusal(L"x").message.find(L"letter X: already"), std::wstring::npos);
}

// Row by row: "text|path|level|O or C".
Texts Describe(const FolderListModel& model) {
    Texts out;
    for (const FolderRow& r : model.rows)
        out.push_back(r.text + L"|" + r.path + L"|" + std::to_wstring(r.level) + (r.icon == FolderIcon::Open ? L"|O" : L"|C"));
    return out;
}

TEST(FolderList, OpensThePathDownToTheCurrentFolderThenListsItsChildrenSortedCaseBlind) {
    const FolderListModel model = BuildFolderList(L"D:\\Data\\Work", {L"src", L"Build", L"docs"});
    EXPECT_EQ(Describe(model), (Texts{L"D:\\|D:\\|0|O", L"Data|D:\\Data|1|O", L"Work|D:\\Data\\Work|2|O",
                                      L"Build|D:\\Data\\Work\\Build|3|C", L"docs|D:\\Data\\Work\\docs|3|C",
                                      L"src|D:\\Data\\Work\\src|3|C"}));
    EXPECT_EQ(model.current, 2u);
    // Extra separators make no empty rows.
    EXPECT_EQ(Describe(BuildFolderList(L"D:\\Data\\\\Work\\", {L"docs", L"src", L"Build"})), Describe(model));

    const FolderListModel root = BuildFolderList(L"C:\\", {L"cherry", L"Banana", L"apple"});
    EXPECT_EQ(Describe(root), (Texts{L"C:\\|C:\\|0|O", L"apple|C:\\apple|1|C", L"Banana|C:\\Banana|1|C", L"cherry|C:\\cherry|1|C"}));
    EXPECT_EQ(root.current, 0u);
    EXPECT_EQ(Describe(BuildFolderList(L"C:", {})), Texts{L"C:\\|C:\\|0|O"});
    // Names equal but for case come in a fixed order, whatever order they came in.
    const FolderListModel a = BuildFolderList(L"D:\\", {L"b", L"A", L"a", L"B"});
    EXPECT_EQ(Describe(a), Describe(BuildFolderList(L"D:\\", {L"B", L"a", L"b", L"A"})));
    EXPECT_EQ(a.rows[2].text, L"a");
}

TEST(FolderList, SortsTheNamesAsTheyCompareUpperCasedAndNormalisesPaths) {
    // '_' comes between the capitals and the small letters: upper-cased, it sorts after "zeta".
    const FolderListModel model = BuildFolderList(L"C:\\", {L"_tmp", L"zeta", L"apple", L"Apple", L"ab", L"a"});
    Texts texts;
    for (std::size_t i = 1; i < model.rows.size(); ++i) texts.push_back(model.rows[i].text);
    EXPECT_EQ(texts, (Texts{L"a", L"ab", L"Apple", L"apple", L"zeta", L"_tmp"}));
    EXPECT_EQ(NormalFolderPath(L"D:") + L"|" + NormalFolderPath(L"d:/Data//Work\\"), L"D:\\|d:\\Data\\Work");
}

TEST(NearestExistingFolder, WalksUpLevelByLevelToTheFirstFolderThatExistsOrNothing) {
    const std::set<std::wstring> existing{L"D:\\", L"D:\\Data"};
    Texts asked;
    const auto exists = [&](const std::wstring& path) {
        asked.push_back(path);
        return existing.count(path) > 0;
    };
    EXPECT_EQ(NearestExistingFolder(L"D:\\Data\\Work\\Old", exists), L"D:\\Data");
    EXPECT_EQ(asked, (Texts{L"D:\\Data\\Work\\Old", L"D:\\Data\\Work", L"D:\\Data"}));
    EXPECT_EQ(NearestExistingFolder(L"D:\\Gone", exists), L"D:\\");
    EXPECT_EQ(NearestExistingFolder(L"E:\\Photos\\2024", exists), std::nullopt);

    // A damaged path as long as the store allows, 16,382 names deep: each level once, the root last.
    std::wstring path = L"D:";
    while (path.size() + 2 <= 32766) path += L"\\a";
    std::size_t calls = 0;
    EXPECT_EQ(NearestExistingFolder(path, [&](const std::wstring& now) { return ++calls, now == L"D:\\"; }), L"D:\\");
    EXPECT_EQ(calls, 16383u);
}

TEST(Twips, FifteenAPixelAt96DpiFollowingTheDpiHalvesAwayFromZero) {
    struct Case { int twips; unsigned dpi; int pixels; };
    const Case cases[] = {
        {8445, 96, 563}, {1440, 120, 120}, {4440, 192, 592}, {1594, 96, 106}, {1600, 96, 107},  // 106.27, 106.67
        {8445, 144, 845}, {3750, 120, 313}, {-8445, 144, -845}, {-7, 96, 0},  // halves away from zero
    };
    for (const Case& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    EXPECT_EQ(ScaleForDpi(16, 144) + ScaleForDpi(5, 144), 24 + 8);  // 7.5
    const PixelRect r = ToPixels(TwipsRect{3000, 3960, 2775, 375}, 144);
    EXPECT_TRUE(r.left == 300 && r.top == 396 && r.right == 578 && r.bottom == 434);
}

}  // namespace
}  // namespace orvanel
