// The history window of the real program, opened from its tray menu by its access key
// and used through its keyboard: the CSV it copies and saves is compared with what the
// simulated EC saw, read by read and fan byte by fan byte.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "Harness.h"
#include "app/TickHistory.h"
#include "resources/resource.h"
#include "support/FakePowerSupply.h"

namespace e2e {
namespace {

// A file's bytes by a name of any characters; "" when missing.
std::string ReadWide(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char chunk[4096];
    for (DWORD read = 0; file && ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0;)
        bytes.append(chunk, read);
    return bytes;
}

const char kHistory[] = "vantu history";

struct Row {
    std::string time, temperature, fan, power, offset;
    bool operator==(const Row&) const = default;
};

// The CSV's rows after its header; empty when the header is not the one expected.
std::vector<Row> CsvRows(const std::string& csv) {
    std::vector<Row> rows;
    std::istringstream in(csv);
    std::string line;
    if (!std::getline(in, line) || line != "Time,Temperature,Fan,Power,UtcOffset\r")
        return rows;
    while (std::getline(in, line)) {
        std::istringstream fields(line.substr(0, line.find('\r')));
        Row row;
        std::getline(fields, row.time, ',');
        std::getline(fields, row.temperature, ',');
        std::getline(fields, row.fan, ',');
        std::getline(fields, row.power, ',');
        std::getline(fields, row.offset);
        rows.push_back(row);
    }
    return rows;
}

// The ticks as the EC saw them: each read (or missed read) of the temperature starts
// one, and the fan bytes written after it (BIOS 3305: AF off, 10 slow, 00 auto) give the
// state it left. Before any write the EC drives the fan.
std::vector<Row> EcTicks(const Lines& log) {
    std::vector<Row> ticks;
    std::string fan = "auto";
    for (const std::string& line : log) {
        if (line.rfind("R 58 ", 0) == 0)
            ticks.push_back({"", std::to_string(std::stoi(line.substr(5), nullptr, 16)), fan, ""});
        else if (line.rfind("MISS 58", 0) == 0)
            ticks.push_back({"", "", fan, ""});
        else if (line.rfind("W 55 ", 0) == 0 && !ticks.empty())
            ticks.back().fan = fan = line == "W 55 AF" ? "off" : line == "W 55 10" ? "slow" : "auto";
    }
    return ticks;
}

// The rows' temperatures and fan states are the EC's ticks, in order.
testing::AssertionResult FollowsTheEc(const std::vector<Row>& rows, const Lines& log) {
    const std::vector<Row> ticks = EcTicks(log);
    if (rows.empty() || rows.size() > ticks.size())
        return testing::AssertionFailure() << rows.size() << " rows for " << ticks.size() << " ticks";
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].temperature != ticks[i].temperature || rows[i].fan != ticks[i].fan)
            return testing::AssertionFailure() << "row " << i << ": " << rows[i].temperature << "," << rows[i].fan
                                               << " where the EC saw " << ticks[i].temperature << "," << ticks[i].fan;
    return testing::AssertionSuccess();
}

// The local time now, or that many seconds later.
std::string LocalNow(int64_t later = 0) {
    ULARGE_INTEGER now{};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&now));
    now.QuadPart += uint64_t(later) * 10000000;
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(reinterpret_cast<const FILETIME*>(&now), &local);
    FileTimeToSystemTime(&local, &t);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

std::string Clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (const HANDLE data = GetClipboardData(CF_TEXT))
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// An Alt+key for the window's access keys, handled by its dialog keyboard.
void AltKey(HWND window, char key) { PostMessageA(window, WM_SYSCHAR, key, 1 << 29); }

class History : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        started_ = LocalNow();
        folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\n");
        folder_.SetEc("Temperature", "45");
        vantu_.emplace(folder_);
        ASSERT_TRUE(folder_.WaitForEcLog("R 58", 1));
    }
    void TearDown() override { FakePowerSupply::Mains(); }

    // Chosen from the tray menu by its access key; the window, or null.
    HWND Open() const {
        const HWND menu = vantu_->OpenTrayMenu();
        if (!menu)
            return nullptr;
        PostMessageA(menu, WM_CHAR, 'h', 0);
        const auto window = WaitForMessageBox(vantu_->ProcessId(), kHistory);
        return window ? window->hwnd : nullptr;
    }
    // Saves through the common Save dialog to `path`, answering Yes to its question; what the
    // program said (or another box), nothing when it said nothing. Every press is
    // posted: a synchronous one would wait for the boxes it opens.
    std::optional<std::string> SaveAs(HWND window, const std::string& path) const {
        return SaveAs(window, std::wstring(path.begin(), path.end()));
    }
    std::optional<std::string> SaveAs(HWND window, const std::wstring& path) const {
        const std::string before = ReadWide(path);
        AltKey(window, 's');
        const auto dialog = WaitForMessageBox(vantu_->ProcessId(), "Save As");
        if (!dialog)
            return "no Save dialog";
        // The file name's box (cmb13, or edt1 in the older layout), once the dialog has
        // proposed the program's name in it: before that, it is still being made.
        HWND name = nullptr;
        if (!WaitUntil([&] {
                const HWND box = GetDlgItem(dialog->hwnd, 0x47C);
                name = box ? reinterpret_cast<HWND>(SendMessageA(box, CBEM_GETEDITCONTROL, 0, 0))
                           : GetDlgItem(dialog->hwnd, 0x480);
                char proposed[64] = {};  // a control of another process answers only WM_GETTEXT
                return name && SendMessageA(name, WM_GETTEXT, sizeof proposed, LPARAM(proposed)) &&
                       std::string(proposed) == "vantu-history.csv";
            }))
            return "no file name proposed";
        SendMessageW(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
        PostMessageA(dialog->hwnd, WM_COMMAND, IDOK, 0);
        std::optional<std::string> said;
        std::set<HWND> answered;
        WaitUntil([&] {
            for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
                DWORD pid = 0;
                GetWindowThreadProcessId(box, &pid);
                if (pid != vantu_->ProcessId() || !IsWindowVisible(box) || box == dialog->hwnd || box == window || answered.count(box))
                    continue;
                char caption[64] = {}, text[512] = {};
                GetWindowTextA(box, caption, sizeof caption);
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                const bool question = GetDlgItem(box, IDYES) != nullptr;  // "Replace it?" (Wine titles it "Error")
                if (!question)  // the program's message, or a box nobody expected
                    said = std::string(caption) == "vantu" ? text : std::string(caption) + ": " + text;
                answered.insert(box);
                PostMessageA(box, WM_COMMAND, question ? IDYES : IDOK, 0);
                return !question;
            }
            return !IsWindow(dialog->hwnd) && ReadWide(path) != before;  // saved
        });
        return said;
    }

    std::string started_;  // the local time before the program started
    const SeededBiosVersion bios_{"V1.3305"};
    TestFolder folder_;
    std::optional<Vantu> vantu_;
};

// The window follows the ticks while open, and its copy and its file hold every tick:
// the EC's readings in order (none for a missed read), the fan state each left, the
// power source, the local time.
TEST_F(History, CopyAndSaveGiveEveryTickAsTheEcSawIt) {
    HWND window = Open();
    ASSERT_TRUE(window) << "no history window";
    // Esc closes it; it opens again, and a second choice brings back the open one (a new
    // one would be found first).
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    window = Open();
    ASSERT_TRUE(window);
    EXPECT_EQ(Open(), window);

    // While it is open: the fan slow, a missed reading, the fan on auto, then battery.
    for (const auto& [key, value, seen] : {std::tuple{"Temperature", "62", "W 55 10"}, {"MissedReads", "1", "MISS 58"},
                                           {"Temperature", "70", "W 55 00"}}) {
        folder_.SetEc(key, value);
        ASSERT_TRUE(folder_.WaitForEcLog(seen, 1)) << seen;
    }
    // Battery only once the tick that set auto has ended: it reads the power source
    // after its fan write.
    folder_.TimeOfTicks(1);
    FakePowerSupply::Discharging();
    folder_.TimeOfTicks(5);

    EmptyTheClipboard();
    const DWORD emptied = GetClipboardSequenceNumber();
    AltKey(window, 'c');
    // Watched without opening the clipboard: a test holding it open as the program asks
    // for it would make the copy fail ("could not be put on the clipboard").
    ASSERT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != emptied; })) << "nothing copied";
    ASSERT_TRUE(WaitUntil([&] { return !Clipboard().empty(); })) << "nothing copied";
    // A tick is dated from the wall clock at the history's start plus the seconds of the
    // program's own clock since, both whole seconds: within the slack it allows a drift.
    const std::string copied = Clipboard(), copyEnded = LocalNow(TickHistory::ClockSlack);
    const std::vector<Row> rows = CsvRows(copied);
    EXPECT_TRUE(FollowsTheEc(rows, folder_.EcLog()));
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(rows.front().time >= started_ && rows.back().time <= copyEnded) << rows.front().time;
    size_t battery = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].time.size(), 19u);
        EXPECT_TRUE(rows[i].offset.size() == 6 && (rows[i].offset[0] == '+' || rows[i].offset[0] == '-')) << rows[i].offset;
        EXPECT_TRUE(i == 0 || rows[i - 1].time <= rows[i].time);
        battery += rows[i].power == "battery";
        EXPECT_EQ(rows[i].power, battery ? "battery" : "mains") << "row " << i;  // one switch, to battery
    }
    EXPECT_GT(battery, 0u);
    EXPECT_EQ(rows[0].fan + rows[rows.size() - battery - 1].fan, "offauto");

    // Saved: the same ticks, and the ones since; under a name outside the code page
    // (1252 here) too, as typed, not mapped to "Lodz.csv".
    const std::string path = folder_.Path("history.csv");
    const std::wstring polish = std::wstring(path.begin(), path.end() - 11) + L"\u0141\u00F3d\u017A.csv";
    for (const std::wstring& name : {std::wstring(path.begin(), path.end()), polish}) {
        EXPECT_EQ(SaveAs(window, name), std::nullopt);
        const std::string saved = ReadWide(name);
        EXPECT_EQ(saved.rfind(copied, 0), 0u);
        EXPECT_TRUE(FollowsTheEc(CsvRows(saved), folder_.EcLog()));
    }
    EXPECT_FALSE(Exists(folder_.Path("Lodz.csv")));

    // The program's exit closes it.
    ASSERT_TRUE(vantu_->Closed());
    EXPECT_FALSE(IsWindow(window));
}

// A file that cannot be written (the disk is full): the program says so, the older file
// stays whole, nothing is left beside it, and the window goes on. While a Save runs the
// EC has the fan (the ticks going on), and the mode takes it back after. The session's
// end, with the Save dialog open, closes both, hands the fan back, and writes nothing.
TEST_F(History, AFailedSaveLeavesTheOldFileAndTheSessionEndClosesTheWindow) {
    const std::string disk = BedFolder("VANTU_SMALL_DISK"), old = WindowsPath(disk) + "\\history-old.csv";
    const std::string oldText = "Time,Temperature,Fan,Power\r\n2026-01-01 00:00:00,40,off,mains\r\n";
    WriteFileText(old, oldText);
    const HWND window = Open();
    ASSERT_TRUE(window);
    {
        const FilledDisk full(disk, 0);
        EXPECT_EQ(SaveAs(window, old), "The history could not be saved to " + old + ".");
    }
    EXPECT_EQ(ReadFileText(old), oldText);
    EXPECT_EQ(TemporaryLeft(WindowsPath(disk)), "");
    EXPECT_TRUE(IsWindow(window));
    DeleteFileA(old.c_str());
    EXPECT_TRUE(folder_.WaitForEcLog("W 55 AF", 2));
    EXPECT_EQ(folder_.EcLog("W 55 "), (Lines{"W 55 AF", "W 55 00", "W 55 AF"}));

    AltKey(window, 's');
    const auto dialog = WaitForMessageBox(vantu_->ProcessId(), "Save As");
    ASSERT_TRUE(dialog.has_value());
    folder_.TimeOfTicks(3);
    EXPECT_EQ(folder_.LastEcLog("W 55 "), "W 55 00");
    ASSERT_TRUE(vantu_->EndSession());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(dialog->hwnd));
    EXPECT_EQ(folder_.LastEcLog("W 55 "), "W 55 00");
    EXPECT_FALSE(Exists(folder_.Path("vantu-history.csv")));
}

// The window's keys work while another dialog of the program is open: its modal loop
// passes them on.
TEST_F(History, ItsKeysWorkWhileTheConfigurationDialogIsOpen) {
    const HWND window = Open();
    ASSERT_TRUE(window);
    PostMessageA(vantu_->MainWindow(), WM_COMMAND, IDM_CONFIGURE, 0);
    const auto dialog = WaitForMessageBox(vantu_->ProcessId(), "Configure vantu");
    ASSERT_TRUE(dialog.has_value());
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    dialog->Press(IDCANCEL);
}

}  // namespace
}  // namespace e2e
