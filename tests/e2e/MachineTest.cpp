// The machine as the program identifies it, end to end: the registers it reads and
// writes and the bytes of each fan mode and the tray menu's slow entry, for a model of
// the table, one with registers of its own, the Aspire One the program was made for,
// and a machine nobody can name. (The About box's line for each: FanPlanTest.)
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Harness.h"
#include "support/FakeMachine.h"

namespace e2e {
namespace {

// Menu windows of the program's popup menu on screen: the menu, and its open submenu.
int OpenMenus() {
    int open = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32768", nullptr)) != nullptr;)
        open += IsWindowVisible(w) ? 1 : 0;
    return open;
}

// The Fan submenu's second entry, slow, chosen from the keyboard once the submenu is
// open: the fan mode stored afterwards, still "0" (off) when it could not be chosen.
std::string ChooseSlow(const Vantu& vantu, const TestFolder& folder) {
    const HWND menu = vantu.OpenTrayMenu();
    PostMessageA(menu, WM_CHAR, 'f', 0);
    if (!WaitUntil([] { return OpenMenus() == 2; }))
        return "no Fan submenu";
    // Enter as the character it becomes: a key press would be translated into it behind
    // the Escapes that close the menu when the entry cannot be chosen.
    for (const auto& [message, key] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, VK_DOWN}, {WM_CHAR, '\r'},
                                       {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_ESCAPE}})
        PostMessageA(menu, message, key, 0);
    WaitUntil([&] { return OpenPopupMenu(vantu.ProcessId()) == nullptr; });
    // The command is posted when the menu closes, before the timer's next message.
    folder.WaitForEcLog("R ", folder.EcLog("R ").size() + 2);
    char mode[8] = {};
    GetPrivateProfileStringA("Fan", "Control", "", mode, sizeof mode, folder.Path("vantu.ini").c_str());
    return mode;
}

struct MachineCase {
    const char* name;
    std::function<std::shared_ptr<void>()> seed;  // the machine, for the run
    const char* temperatureRegister;              // the reads' lines start with "R " and it
    Lines fanWrites;  // forced off, slow chosen from the menu where it can be, closed
    bool slowEntry;
};

TEST(Machine, RegistersAndFanBytesComeFromTheModel) {
    const MachineCase cases[] = {
        {"a model of the table, named in the registry",
         [] { return std::make_shared<SeededMachine>("Acer", "AO751h", "V0.3206"); }, "58",
         {"W 55 21", "W 55 00"}, false},
        {"a model with registers of its own, named by the firmware table",
         [] { return std::make_shared<FirmwareIdentity>("Acer", "Aspire One 753", "V1.24"); }, "AC",
         {"W 93 14", "W 94 FF", "W 93 04"}, false},
        {"the Aspire One, by its BIOS number",
         [] { return std::make_shared<SeededMachine>("Acer", "AOA150", "v0.3310"); }, "58",
         {"W 55 AF", "W 55 10", "W 55 00"}, true},
        {"a machine nobody names", [] { return std::shared_ptr<void>(); }, "58",
         {"W 55 AF", "W 55 10", "W 55 00"}, true},
    };
    const SeededBiosVersion bios("V0.3310");
    for (const MachineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto machine = c.seed();
        TestFolder folder("-" + std::to_string(&c - cases));
        folder.WriteIni("[Advanced]\r\nTimerInterval=100\r\n[Fan]\r\nControl=0\r\n");
        folder.SetEc("TemperatureRegister", std::to_string(std::stoi(c.temperatureRegister, nullptr, 16)));
        folder.SetEc("FanRegister", std::to_string(std::stoi(c.fanWrites.front().substr(2, 2), nullptr, 16)));
        folder.SetEc("Temperature", "60");
        {
            const Vantu vantu(folder);
            ASSERT_TRUE(folder.WaitForEcLog(c.fanWrites.front(), 1)) << "the fan was never forced off";
            EXPECT_EQ(ChooseSlow(vantu, folder), c.slowEntry ? "1" : "0");
            ASSERT_TRUE(vantu.Closed());
        }
        EXPECT_EQ(folder.EcLog("W "), c.fanWrites);
        const Lines reads = folder.EcLog("R ");
        EXPECT_EQ(folder.EcLog(std::string("R ") + c.temperatureRegister + " 3C").size(), reads.size());
        EXPECT_FALSE(reads.empty());
    }
}

}  // namespace
}  // namespace e2e
