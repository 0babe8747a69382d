// The configuration and About dialogs of the real program, opened from its tray menu
// and driven through their real controls as a user would: texts typed, boxes
// clicked, list items picked, buttons pressed. What they did is read from the INI
// file, the Startup folder, the simulated EC's log and the commands run.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "MenuUser.h"
#include "resources/resource.h"
#include "settings/Conversion.h"
#include "support/SeededRegistryValue.h"

namespace e2e {
namespace {

const char kConfigure[] = "Configure vantu";
const char kEcMessage[] = "Must be between 0 and FF.";

// The open configuration dialog of a MenuUser.
class ConfigDialog {
public:
    explicit ConfigDialog(MenuUser& user) : user_(user) {
        user.Choose({'c'});
        const auto found = WaitForMessageBox(user.Program().ProcessId(), kConfigure);
        EXPECT_TRUE(found.has_value()) << "no configuration dialog";
        hwnd_ = found ? found->hwnd : nullptr;
    }

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    void Type(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }
    std::string Text(int id) const {
        char text[256] = {};
        GetDlgItemTextA(hwnd_, id, text, sizeof text);
        return text;
    }
    bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(int id, bool checked) const {
        if (Checked(id) != checked)
            SendMessageA(Control(id), BM_CLICK, 0, 0);
    }
    void Pick(int id, int index) const { SendMessageA(Control(id), CB_SETCURSEL, index, 0); }
    int Picked(int id) const { return int(SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    // Posted: the press may open a message box, which the test then answers.
    void Press(int id) const { PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Control(id))); }
    // The message box the last press opened, answered with OK; its text.
    std::string Answer() const {
        const auto box = WaitForMessageBox(user_.Program().ProcessId(), "vantu");
        if (!box)
            return "no message";
        box->Press(IDOK);
        WaitUntil([&] { return !IsWindow(box->hwnd); }, kUserWait);
        return box->text;
    }
    // Closed, and for a Save its steps done: they end with a monitor tick.
    bool WaitClosed() const {
        if (!WaitUntil([&] { return !IsWindow(hwnd_); }, kUserWait))
            return false;
        return user_.Folder().WaitForEcLog("R 58", user_.Folder().EcLog("R 58").size() + 1, kUserWait);
    }
    HWND Window() const { return hwnd_; }

private:
    MenuUser& user_;
    HWND hwnd_ = nullptr;
};

std::string Stored(const MenuUser& user, const char* section, const char* key) {
    char text[256] = {};
    GetPrivateProfileStringA(section, key, "", text, sizeof text, user.Folder().Path("vantu.ini").c_str());
    return text;
}

int StoredNumber(const MenuUser& user, const char* section, const char* key) {
    return Conversion::ToInt32(Stored(user, section, key)).value_or(-99999);
}

std::string StartupLink() {
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, folder);
    return std::string(folder) + "\\vantu.lnk";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

const char kIni[] = "[Advanced]\r\nTimerInterval=200\r\n[Special]\r\nCustomResolutionWidth=1280\r\n"
                    "CustomResolutionHeight=1024\r\n";

// The load step shows the settings; Save copies the controls back, each check with
// its message keeping only its own group as it was.
TEST(ConfigDialog, SaveStoresTheControlsAndChecksTheTypedValues) {
    DeleteFileA(StartupLink().c_str());
    MenuUser user(kIni);
    {
        ConfigDialog dialog(user);
        ASSERT_NE(dialog.Window(), nullptr);
        EXPECT_EQ(dialog.Text(IDC_TXTWIDTH), "1280");
        EXPECT_EQ(dialog.Text(IDC_TXTFANSTOP), "AF");
        EXPECT_EQ(dialog.Text(IDC_TXTTEST), "0");
        EXPECT_FALSE(dialog.Enabled(IDC_TXTFANSTOP));  // the EC group is off but filled
        EXPECT_TRUE(dialog.Checked(IDC_CHKSTOPFAN));
        EXPECT_EQ(dialog.Picked(IDC_CBOSTOPFAN), 50 - 35);
        dialog.Type(IDC_TXTWIDTH, "800");
        dialog.Type(IDC_TXTHEIGHT, "600");
        dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
        EXPECT_TRUE(dialog.Enabled(IDC_TXTFANSTOP));
        dialog.Type(IDC_TXTFANSLOW, "20");
        dialog.Type(IDC_TXTFANSTOP, "af");
        dialog.Type(IDC_TXTFANAUTO, "00A0");
        dialog.SetChecked(IDC_CHKSTOPFAN, false);
        EXPECT_FALSE(dialog.Enabled(IDC_CBOSTOPFAN));
        dialog.Pick(IDC_CBOSLOWFAN, 70 - 35);  // above auto: stored as chosen
        dialog.Pick(IDC_CBOAUTOFAN, 40 - 35);
        dialog.SetChecked(IDC_CHKAUTOSTART, true);
        dialog.SetChecked(IDC_CHKENABLEDEVICE, true);
        dialog.Type(IDC_TXTDEVICENAME, "Card reader");
        dialog.Press(IDC_BUTSAVE);
        ASSERT_TRUE(dialog.WaitClosed());
    }
    EXPECT_EQ(StoredNumber(user, "Special", "CustomResolutionWidth"), 1024);
    EXPECT_EQ(StoredNumber(user, "Special", "CustomResolutionHeight"), 768);
    EXPECT_EQ(StoredNumber(user, "Special", "FanValueSlow"), 0x20);
    EXPECT_EQ(StoredNumber(user, "Special", "FanValueOff"), 175);
    EXPECT_EQ(StoredNumber(user, "Special", "FanValueAuto"), 160);
    EXPECT_EQ(Stored(user, "Special", "UseCustomFanValue"), "True");
    EXPECT_EQ(StoredNumber(user, "Fan", "Stop"), 0);
    EXPECT_EQ(StoredNumber(user, "Fan", "Slow"), 70);
    EXPECT_EQ(StoredNumber(user, "Fan", "Auto"), 40);
    EXPECT_EQ(Stored(user, "Special", "CustomDeviceName"), "Card reader");
    EXPECT_TRUE(Exists(StartupLink()));

    // Letters for the width and a digit and G for a byte: each says so, keeps its own
    // group, and the rest is saved.
    const struct { const char* width; const char* slow; bool resolutionMessage, ecMessage; } cases[] = {
        {"wide", "1G", true, true}, {"", "20", true, false}, {"40000", "100", true, true},
        {" 1152 ", "10", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        ConfigDialog dialog(user);
        dialog.Type(IDC_TXTWIDTH, c.width);
        dialog.Type(IDC_TXTFANSLOW, c.slow);
        dialog.SetChecked(IDC_CHKNOHDCLICKS, true);
        dialog.SetChecked(IDC_CHKAUTOSTART, false);
        dialog.Press(IDC_BUTSAVE);
        if (c.resolutionMessage) {
            EXPECT_EQ(dialog.Answer(), "Error, invalid resolution!");
        }
        if (c.ecMessage) {
            EXPECT_EQ(dialog.Answer(), std::string("Invalid EC values!\r\n") + kEcMessage);
        }
        ASSERT_TRUE(dialog.WaitClosed());
        EXPECT_EQ(StoredNumber(user, "Special", "CustomResolutionWidth"), c.resolutionMessage ? 1024 : 1152);
        EXPECT_EQ(StoredNumber(user, "Special", "FanValueSlow"),
                  c.ecMessage ? 0x20 : *Conversion::ToInt32(std::string("&H") + c.slow));
        EXPECT_EQ(Stored(user, "Advanced", "PreventHDClicks"), "True");
        EXPECT_FALSE(Exists(StartupLink()));
    }
}

// The task store of Wine's Task Scheduler: one XML file a task.
std::string TaskFile(const char* name) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\tasks\\" + name;
}

// From Windows 6.0 the box stands for a scheduled task (the shell would skip the
// shortcut of a program that asks for administrator rights). A shortcut left from
// before counts as autostart and goes at the next save; a task that cannot be
// registered says so and leaves the box cleared.
TEST(ConfigDialog, OnWindows6AutostartIsAScheduledTask) {
    const SeededRegistryValue windows7("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion",
                                       REG_SZ, SeededRegistryValue::Text("6.1"));
    DeleteFileA(TaskFile("vantu").c_str());
    WriteFileText(StartupLink(), "");  // an earlier build's shortcut
    MenuUser user(kIni);
    // Saves with the box set so; what it showed before, and the message Save gave.
    std::string message;
    const auto save = [&](bool autostart) {
        ConfigDialog dialog(user);
        const bool shown = dialog.Checked(IDC_CHKAUTOSTART);
        dialog.SetChecked(IDC_CHKAUTOSTART, autostart);
        dialog.Press(IDC_BUTSAVE);
        message = WaitForMessageBox(user.Program().ProcessId(), "vantu", milliseconds(1000)) ? dialog.Answer() : "";
        EXPECT_TRUE(dialog.WaitClosed());
        return shown;
    };
    EXPECT_TRUE(save(true));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(Exists(TaskFile("vantu")));
    EXPECT_FALSE(Exists(StartupLink()));
    // Wine keeps these of the definition (the trigger, the rights and the program it
    // drops; tests/native/StartupTaskTest.cpp reads them in what vantu registers).
    const std::string task = ReadFileText(TaskFile("vantu"));
    for (const char* setting : {"<Description>vantu</Description>",
                                "<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>",
                                "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
                                "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>",
                                "<StartWhenAvailable>true</StartWhenAvailable>",
                                "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"})
        EXPECT_NE(task.find(setting), std::string::npos) << setting << " missing from\n" << task;

    WriteFileText(StartupLink(), "");
    EXPECT_TRUE(save(false));
    EXPECT_FALSE(Exists(TaskFile("vantu")));
    EXPECT_FALSE(Exists(StartupLink()));

    // The task's file cannot be written: a folder stands in its place.
    ASSERT_TRUE(CreateDirectoryA(TaskFile("vantu").c_str(), nullptr));
    EXPECT_FALSE(save(true));
    EXPECT_EQ(message, "Autostart with Windows could not be set.");
    EXPECT_FALSE(save(false)) << "the box claims an autostart that failed";
    RemoveDirectoryA(TaskFile("vantu").c_str());
}

// The tester writes straight to the fan register and holds the monitor until the
// dialog closes, by Cancel or by its close box; nothing is saved.
TEST(ConfigDialog, TesterHoldsTheMonitorUntilTheDialogCloses) {
    MenuUser user(kIni);
    const std::string before = ReadFileText(user.Folder().Path("vantu.ini"));
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        ConfigDialog dialog(user);
        dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
        for (const char* bad : {"", "100", "G1"}) {
            dialog.Type(IDC_TXTTEST, bad);
            dialog.Press(IDC_BUTTEST);
            EXPECT_EQ(dialog.Answer(), std::string("Invalid EC value!\r\n") + kEcMessage) << bad;
            EXPECT_EQ(dialog.Text(IDC_TXTTEST), bad);
        }
        const size_t tests = user.Folder().EcLog("W 55 20").size();
        dialog.Type(IDC_TXTTEST, "20");
        dialog.Press(IDC_BUTTEST);
        ASSERT_TRUE(user.Folder().WaitForEcLog("W 55 20", tests + 1, kUserWait));
        dialog.Type(IDC_TXTTEST, "af");
        dialog.Press(IDC_BUTTEST);
        ASSERT_TRUE(WaitUntil([&] { return dialog.Text(IDC_TXTTEST) == "AF"; }, kUserWait));
        const size_t reads = user.Folder().EcLog("R 58").size();
        Sleep(1000);  // five timer periods
        EXPECT_EQ(user.Folder().EcLog("R 58").size(), reads) << "the monitor ran during a test";
        EXPECT_EQ(user.Folder().EcLog("W 55 ").back(), "W 55 AF");
        if (closeBox)
            PostMessageA(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            dialog.Press(IDCANCEL);
        ASSERT_TRUE(dialog.WaitClosed());
        EXPECT_TRUE(user.Folder().WaitForEcLog("R 58", reads + 2, kUserWait)) << "the monitor stays stopped";
    }
    EXPECT_EQ(ReadFileText(user.Folder().Path("vantu.ini")), before);
}

// The session ends while the dialog is open: the shutdown runs inside the dialog's
// loop. Test and Save pressed afterwards reach neither the EC nor the settings file,
// and no tick starts again.
TEST(ConfigDialog, AfterTheSessionEndedItsButtonsChangeNothing) {
    MenuUser user(kIni);
    ConfigDialog dialog(user);
    ASSERT_TRUE(user.Program().EndSession());
    const auto ecLog = user.Folder().EcLog();
    ASSERT_GE(ecLog.size(), 2u);
    EXPECT_EQ(ecLog[ecLog.size() - 2], "W 55 00");
    EXPECT_EQ(ecLog.back(), "SHUTDOWN");
    const std::string saved = ReadFileText(user.Folder().Path("vantu.ini"));
    dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
    dialog.Type(IDC_TXTTEST, "af");
    dialog.Press(IDC_BUTTEST);
    ASSERT_TRUE(WaitUntil([&] { return dialog.Text(IDC_TXTTEST) == "AF"; }, kUserWait));
    dialog.SetChecked(IDC_CHKSHOWTIME, !dialog.Checked(IDC_CHKSHOWTIME));  // a save would show
    dialog.Press(IDC_BUTSAVE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog.Window()); }, kUserWait));
    Sleep(1000);  // five timer periods
    EXPECT_EQ(user.Folder().EcLog(), ecLog);
    EXPECT_EQ(ReadFileText(user.Folder().Path("vantu.ini")), saved);
}

BOOL CALLBACK CountConfigureWindows(HWND hwnd, LPARAM count) {
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    *reinterpret_cast<int*>(count) += std::string(caption) == kConfigure;
    return TRUE;
}

// Configure chosen while the dialog is open brings it forward: still one dialog.
TEST(ConfigDialog, OnlyOneDialogAtATime) {
    MenuUser user(kIni);
    ConfigDialog dialog(user);
    user.Choose({'c'});
    const auto dialogs = [] {
        int count = 0;
        EnumWindows(CountConfigureWindows, LPARAM(&count));
        return count;
    };
    EXPECT_FALSE(WaitUntil([&] { return dialogs() > 1; }, milliseconds(2000)));
    EXPECT_EQ(dialogs(), 1);
    dialog.Press(IDCANCEL);
    EXPECT_TRUE(dialog.WaitClosed());
}

// The About dialog names the version from the version resource; its two links go to
// the shell, here to a recording handler of the https scheme.
TEST(AboutDialog, VersionAndLinks) {
    MenuUser user(kIni);
    user.Folder().AddFakeCommand("browser");
    const SeededRegistryValue handler("Software\\Classes\\https\\shell\\open\\command", "", REG_SZ,
                                      "\"" + user.Folder().Path("browser.exe") + "\" \"%1\"" + '\0');
    user.Choose({'a'});
    const auto about = WaitForMessageBox(user.Program().ProcessId(), "About vantu");
    ASSERT_TRUE(about.has_value());
    char version[64] = {};
    GetDlgItemTextA(about->hwnd, IDC_LBLVERSION, version, sizeof version);
    EXPECT_STREQ(version, "vantu version 1.0");
    for (int link : {IDC_LBLSITE, IDC_BUTDONATE, IDC_LBLSITE})
        PostMessageA(about->hwnd, WM_COMMAND, MAKEWPARAM(link, BN_CLICKED), LPARAM(GetDlgItem(about->hwnd, link)));
    const auto browsed = [&] {
        std::vector<std::string> opened;
        for (const auto& line : user.Commands(""))
            if (line.find("browser.exe\" ") != std::string::npos)
                opened.push_back(line.substr(line.find("exe\" ") + 5));
        return opened;
    };
    ASSERT_TRUE(WaitUntil([&] { return browsed().size() >= 3; }, kUserWait));
    std::vector<std::string> opened = browsed();
    std::sort(opened.begin(), opened.end());  // the shell starts them side by side
    EXPECT_EQ(opened, (std::vector<std::string>{"\"https://vantu.example.org/\"", "\"https://vantu.example.org/\"",
                                                "\"https://vantu.example.org/donate\""}));
    EXPECT_TRUE(IsWindow(about->hwnd));
    about->Press(IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about->hwnd); }, kUserWait));
}

}  // namespace
}  // namespace e2e
