#pragma once
// The hidden main window: start-up, shutdown and the monitor timer.

#include "app/FanProfile.h"

namespace frmMain {

// Creates the main window and runs start-up; false when start-up ended the program.
bool Create();

// Stops or restarts the monitor timer TimerMon (the fan tester stops it so that the
// monitor does not overwrite a byte under test). After shutdown it stays stopped.
void SetMonitorTimerEnabled(bool enabled);

// One monitor tick.
void TimerMon_Timer();

// Before sleep the fan goes to the EC, and the ticks leave it there until resume; the
// first good tick after resume applies the chosen mode again, on the power source read
// then.
void HandFanToEcForSleep();
void WatchFanAfterSleep();
// The same while the history's Save runs (the dialog, and the file work that may wait
// on a dropped network share with no tick running): true at its start, false at its end.
void HoldFanWhileSaving(bool saving);

// The power source whose fan mode is in force (a change counts only after a pause, so
// it may not yet be the plug's): the menu's fan entries show and set that source's mode.
FanProfile::PowerSource FanSource();

}  // namespace frmMain
