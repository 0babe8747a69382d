#pragma once
// The configuration dialog: the settings without a menu entry of their own, the
// EC value tester and the driver patch buttons.
#include <windows.h>

#include <optional>

#include "dialogs/ConfigForm.h"
#include "settings/SettingsRecord.h"

namespace frmConfig {

// How the dialog closed: the record to store when the user saved (the autostart is set
// up already), nothing for Cancel. Its tester stops the monitor: the caller starts it
// again at every close.
struct Closed {
    std::optional<SettingsRecord> saved;
};

// Shows the dialog modally over the stored record and the facts beside it. Nothing
// when it was open already: a second request only brings it to the front.
std::optional<Closed> Show(HWND owner, const SettingsRecord& stored, const ConfigForm::Facts& facts);

}  // namespace frmConfig
