// The configuration dialog of the real program, opened from its tray menu and driven
// through its real controls as a user would: texts typed, boxes
// clicked, list items picked, buttons pressed. What they did is read from the INI
// file, the Startup folder, the task store, the EC's log and the commands run.
#include <gtest/gtest.h>

#include "ConfigDialogUser.h"
#include "Harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

const char kIni[] = "[Advanced]\r\nTimerInterval=200\r\n[Special]\r\nCustomResolutionWidth=1280\r\n"
                    "CustomResolutionHeight=1024\r\n";
const char kEcMessage[] = "Must be between 0 and FF.";

// The load step shows the settings; Save copies the controls back, each check with its
// message keeping only its own group as it was.
TEST(ConfigDialog, SaveStoresTheControlsAndChecksTheTypedValues) {
    DeleteFileA(StartupLink().c_str());
    MenuUser user(kIni);
    {
        const ConfigDialog dialog(user);
        EXPECT_EQ(dialog.Text(IDC_TXTWIDTH) + " " + dialog.Text(IDC_TXTFANSTOP) + " " + dialog.Text(IDC_TXTTEST), "1280 AF 0");
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_TXTFANSTOP)));  // the EC group is off but filled
        EXPECT_TRUE(dialog.Checked(IDC_CHKSTOPFAN));
        EXPECT_EQ(SendMessageA(dialog.Control(IDC_CBOSTOPFAN), CB_GETCURSEL, 0, 0), 50 - 35);
        dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
        for (const auto& [id, text] : {std::pair{IDC_TXTWIDTH, "800"}, {IDC_TXTHEIGHT, "600"}, {IDC_TXTFANSLOW, "20"},
                                       {IDC_TXTFANSTOP, "af"}, {IDC_TXTFANAUTO, "00A0"}, {IDC_TXTDEVICENAME, "Card reader"}})
            dialog.Type(id, text);
        dialog.SetChecked(IDC_CHKSTOPFAN, false);
        EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_CBOSTOPFAN)));
        SendMessageA(dialog.Control(IDC_CBOSLOWFAN), CB_SETCURSEL, 70 - 35, 0);  // above auto: stored as chosen
        SendMessageA(dialog.Control(IDC_CBOAUTOFAN), CB_SETCURSEL, 40 - 35, 0);
        dialog.SetChecked(IDC_CHKAUTOSTART, true);
        dialog.SetChecked(IDC_CHKENABLEDEVICE, true);
        EXPECT_TRUE(dialog.Checked(IDC_CHKSHOWALERTS));  // no key in the file: on
        dialog.SetChecked(IDC_CHKSHOWALERTS, false);
        EXPECT_EQ(dialog.Press(IDC_BUTSAVE), Lines{});
        ASSERT_TRUE(dialog.WaitClosed());
    }
    const auto stored = [&] {
        std::string text;
        for (const auto& [section, key] : {std::pair{"Special", "CustomResolutionWidth"}, {"Special", "FanValueSlow"},
                                           {"Special", "FanValueOff"}, {"Special", "FanValueAuto"}, {"Fan", "Stop"},
                                           {"Fan", "Slow"}, {"Fan", "Auto"}, {"Special", "CustomDeviceName"},
                                           {"Advanced", "PreventHDClicks"}, {"Advanced", "ShowAlerts"}})
            text += user.Stored(section, key) + " ";
        return text;
    };
    EXPECT_EQ(stored(), "1024 &H20 &HAF &HA0 0 70 40 Card reader False False ");
    EXPECT_TRUE(Exists(StartupLink()));

    // Letters for the width, a G for a byte: each says so and keeps its own group; the
    // rest is saved.
    const ConfigDialog dialog(user);
    dialog.Type(IDC_TXTWIDTH, "wide");
    dialog.Type(IDC_TXTFANSLOW, "1G");
    dialog.SetChecked(IDC_CHKNOHDCLICKS, true);
    dialog.SetChecked(IDC_CHKAUTOSTART, false);
    EXPECT_FALSE(dialog.Checked(IDC_CHKSHOWALERTS));
    dialog.SetChecked(IDC_CHKSHOWALERTS, true);
    EXPECT_EQ(dialog.Press(IDC_BUTSAVE, 2),
              (Lines{"Error, invalid resolution!", std::string("Invalid EC values!\r\n") + kEcMessage}));
    ASSERT_TRUE(dialog.WaitClosed());
    EXPECT_EQ(stored(), "1024 &H20 &HAF &HA0 0 70 40 Card reader True True ");
    EXPECT_FALSE(Exists(StartupLink()));
}

// The tester writes straight to the fan register and holds the monitor until the
// dialog closes, by Cancel or by its close box; nothing is saved. Configure chosen
// while the dialog is open opens no second one.
TEST(ConfigDialog, TesterHoldsTheMonitorUntilTheDialogCloses) {
    MenuUser user(kIni);
    const std::string before = user.Folder().Ini();
    const milliseconds fiveTicks = user.Folder().TimeOfTicks(5);
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        const ConfigDialog dialog(user);
        dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
        dialog.Type(IDC_TXTTEST, "100");
        EXPECT_EQ(dialog.Press(IDC_BUTTEST, 1), Lines{std::string("Invalid EC value!\r\n") + kEcMessage});
        dialog.Type(IDC_TXTTEST, "af");
        dialog.Press(IDC_BUTTEST);
        ASSERT_TRUE(WaitUntil([&] { return dialog.Text(IDC_TXTTEST) == "AF"; }));
        const size_t reads = user.Folder().EcLog("R 58").size();
        if (!closeBox)
            user.ChooseConfigure();
        Sleep(static_cast<DWORD>(fiveTicks.count()));
        EXPECT_EQ(user.Folder().EcLog("R 58").size(), reads) << "the monitor ran during a test";
        EXPECT_EQ(user.Folder().LastEcLog("W 55 "), "W 55 AF");
        int dialogs = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", "Configure vantu")) != nullptr;)
            ++dialogs;
        EXPECT_EQ(dialogs, 1);
        if (closeBox)
            PostMessageA(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            dialog.Press(IDCANCEL);
        ASSERT_TRUE(dialog.WaitClosed());
        EXPECT_TRUE(user.Folder().WaitForEcLog("R 58", reads + 2)) << "the monitor stays stopped";
    }
    EXPECT_EQ(user.Folder().Ini(), before);
}

// The session ends while the dialog is open: the shutdown runs inside the dialog's
// loop. Test and Save pressed afterwards reach neither the EC nor the settings file,
// and no tick starts again. (Ticks while the menu was open left it be.)
TEST(ConfigDialog, AfterTheSessionEndedItsButtonsChangeNothing) {
    MenuUser user(kIni);
    const milliseconds fiveTicks = user.Folder().TimeOfTicks(5);
    const ConfigDialog dialog(user, 2);
    ASSERT_TRUE(user.Program().EndSession());
    const Lines ecLog = user.Folder().EcLog();
    EXPECT_EQ(Lines(ecLog.end() - 2, ecLog.end()), (Lines{"W 55 00", "SHUTDOWN"}));
    const std::string saved = user.Folder().Ini();
    dialog.SetChecked(IDC_CHKENABLECUSTOMEC, true);
    dialog.Type(IDC_TXTTEST, "af");
    dialog.Press(IDC_BUTTEST);
    ASSERT_TRUE(WaitUntil([&] { return dialog.Text(IDC_TXTTEST) == "AF"; }));
    dialog.SetChecked(IDC_CHKSHOWTIME, !dialog.Checked(IDC_CHKSHOWTIME));  // a save would show
    dialog.Press(IDC_BUTSAVE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog.Window()); }));
    Sleep(static_cast<DWORD>(fiveTicks.count()));
    EXPECT_EQ(user.Folder().EcLog(), ecLog);
    EXPECT_EQ(user.Folder().Ini(), saved);
}

// An autostart that cannot be set up (a folder where its shortcut goes) says so and
// leaves the box cleared.
TEST(ConfigDialog, AnAutostartThatCannotBeSetUpSaysSo) {
    DeleteFileA(StartupLink().c_str());
    ASSERT_TRUE(CreateDirectoryA(StartupLink().c_str(), nullptr));
    MenuUser user(kIni);
    for (const bool autostart : {true, false}) {
        const ConfigDialog dialog(user);
        EXPECT_FALSE(dialog.Checked(IDC_CHKAUTOSTART)) << "the box claims an autostart that failed";
        dialog.SetChecked(IDC_CHKAUTOSTART, autostart);
        EXPECT_EQ(dialog.Press(IDC_BUTSAVE, autostart ? 1 : 0),
                  autostart ? Lines{"Autostart with Windows could not be set."} : Lines{});
        EXPECT_TRUE(dialog.WaitClosed());
    }
    RemoveDirectoryA(StartupLink().c_str());
}

}  // namespace
}  // namespace e2e
