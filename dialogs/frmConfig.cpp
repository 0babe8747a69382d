#include "dialogs/frmConfig.h"

#include <optional>
#include <string>

#include "dialogs/ConfigForm.h"
#include "dialogs/ModalDialog.h"
#include "ec/modAcerEC.h"
#include "resources/resource.h"
#include "settings/FolderSafety.h"
#include "settings/modFolderSafety.h"
#include "settings/modSettings.h"
#include "settings/modStartupLink.h"
#include "system/KnownFolders.h"
#include "system/modAcpiECPatch.h"

namespace frmConfig {

namespace {

constexpr char kEcValueMessage[] = "Must be between 0 and FF.";

struct ConfigDialog {
    HWND hwnd = nullptr;
    const SettingsRecord* stored = nullptr;  // what it shows, and what a Save starts from
    ConfigForm::Facts facts;
    ConfigForm::View loaded;  // the lists as loaded, whose items stand for the numbers kept here
    std::optional<SettingsRecord> saved;
} dialog;

constexpr int kEcValueGroup[] = {IDC_LBLFANSLOW, IDC_LBLFANSTOP, IDC_LBLFANAUTO, IDC_LBLBIOS,
                                 IDC_LBLTEST,    IDC_TXTFANSLOW, IDC_TXTFANSTOP, IDC_TXTFANAUTO,
                                 IDC_TXTBIOS,    IDC_TXTTEST,    IDC_BUTTEST};
constexpr int kDeviceGroup[] = {IDC_LBLDEVICENAME, IDC_LBLDEVICEID, IDC_TXTDEVICENAME, IDC_TXTDEVICEID};

void ShowMessage(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), modSettings::AppTitle, MB_OK);
}

bool Checked(int id) { return IsDlgButtonChecked(dialog.hwnd, id) == BST_CHECKED; }
void SetChecked(int id, bool checked) { CheckDlgButton(dialog.hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
void Enable(int id, bool enabled) { EnableWindow(GetDlgItem(dialog.hwnd, id), enabled); }

template <size_t N>
void EnableGroup(const int (&ids)[N], bool enabled) {
    for (int id : ids)
        Enable(id, enabled);
}

std::string Text(int id) {
    const HWND control = GetDlgItem(dialog.hwnd, id);
    std::string text(size_t(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(control, text.data(), int(text.size()))));
    return text;
}
void SetText(int id, const std::string& text) { SetDlgItemTextA(dialog.hwnd, id, text.c_str()); }

// Wide items: the degree sign is one whatever the system's code page.
void FillList(int id, const ConfigForm::Choice& choice) {
    const HWND list = GetDlgItem(dialog.hwnd, id);
    for (const auto& item : choice.Items)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(list, CB_SETCURSEL, WPARAM(choice.Selected), 0);
}
int Selected(int id) { return int(SendDlgItemMessageA(dialog.hwnd, id, CB_GETCURSEL, 0, 0)); }

void ShowPatchState(bool patched) {
    Enable(IDC_BUTPATCH, !patched);
    Enable(IDC_BUTUNPATCH, patched);
}

void Form_Load() {
    SetWindowTextA(dialog.hwnd, (std::string("Configure ") + modSettings::AppTitle).c_str());
    SendMessageA(dialog.hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CHIP))));
    const ConfigForm::View& v = dialog.loaded = ConfigForm::Load(*dialog.stored, dialog.facts);
    Enable(IDC_BUTUNPATCH, v.UnpatchEnabled);
    Enable(IDC_BUTPATCH, v.PatchEnabled);
    FillList(IDC_CBOPROCMODEAC, v.ProcModeAC);
    FillList(IDC_CBOPROCMODEDC, v.ProcModeDC);
    FillList(IDC_CBOSTOPFAN, v.Stop);
    FillList(IDC_CBOSLOWFAN, v.Slow);
    FillList(IDC_CBOAUTOFAN, v.Auto);
    FillList(IDC_CBOBATTERYCONTROL, v.BatteryControl);
    FillList(IDC_CBOBATTERYSTOP, v.BatteryStop);
    FillList(IDC_CBOBATTERYSLOW, v.BatterySlow);
    FillList(IDC_CBOBATTERYAUTO, v.BatteryAuto);
    SetChecked(IDC_CHKAUTOSTART, v.Autostart);
    SetChecked(IDC_CHKNOHDCLICKS, v.NoHDClicks);
    SetChecked(IDC_CHKSHOWTIME, v.ShowTime);
    SetChecked(IDC_CHKSHOWALERTS, v.ShowAlerts);
    SetChecked(IDC_CHKSTOPFAN, v.StopChecked);
    SetChecked(IDC_CHKSLOWFAN, v.SlowChecked);
    SetChecked(IDC_CHKAUTOFAN, v.AutoChecked);
    SetChecked(IDC_CHKENABLEDEVICE, v.DeviceEnabled);
    SetChecked(IDC_CHKENABLECUSTOMEC, v.CustomEC);
    Enable(IDC_CBOSTOPFAN, v.StopChecked);
    Enable(IDC_CBOSLOWFAN, v.SlowChecked);
    Enable(IDC_CBOAUTOFAN, v.AutoChecked);
    EnableGroup(kDeviceGroup, v.DeviceEnabled);
    SetText(IDC_TXTDEVICENAME, v.DeviceName);
    SetText(IDC_TXTDEVICEID, v.DeviceID);
    SetText(IDC_TXTWIDTH, v.Width);
    SetText(IDC_TXTHEIGHT, v.Height);
    EnableGroup(kEcValueGroup, v.CustomEC);
    SetText(IDC_TXTFANSLOW, v.FanSlow);
    SetText(IDC_TXTFANSTOP, v.FanStop);
    SetText(IDC_TXTFANAUTO, v.FanAuto);
    SetText(IDC_TXTBIOS, v.Bios);
    SetText(IDC_TXTTEST, v.Test);
    SetFocus(GetDlgItem(dialog.hwnd, IDC_CHKSTOPFAN));
}

ConfigForm::View ReadControls() {
    ConfigForm::View v = dialog.loaded;
    v.Autostart = Checked(IDC_CHKAUTOSTART);
    v.NoHDClicks = Checked(IDC_CHKNOHDCLICKS);
    v.ShowTime = Checked(IDC_CHKSHOWTIME);
    v.ShowAlerts = Checked(IDC_CHKSHOWALERTS);
    v.ProcModeAC.Selected = Selected(IDC_CBOPROCMODEAC);
    v.ProcModeDC.Selected = Selected(IDC_CBOPROCMODEDC);
    v.StopChecked = Checked(IDC_CHKSTOPFAN);
    v.SlowChecked = Checked(IDC_CHKSLOWFAN);
    v.AutoChecked = Checked(IDC_CHKAUTOFAN);
    v.Stop.Selected = Selected(IDC_CBOSTOPFAN);
    v.Slow.Selected = Selected(IDC_CBOSLOWFAN);
    v.Auto.Selected = Selected(IDC_CBOAUTOFAN);
    v.BatteryControl.Selected = Selected(IDC_CBOBATTERYCONTROL);
    v.BatteryStop.Selected = Selected(IDC_CBOBATTERYSTOP);
    v.BatterySlow.Selected = Selected(IDC_CBOBATTERYSLOW);
    v.BatteryAuto.Selected = Selected(IDC_CBOBATTERYAUTO);
    v.DeviceEnabled = Checked(IDC_CHKENABLEDEVICE);
    v.DeviceName = Text(IDC_TXTDEVICENAME);
    v.DeviceID = Text(IDC_TXTDEVICEID);
    v.Width = Text(IDC_TXTWIDTH);
    v.Height = Text(IDC_TXTHEIGHT);
    v.CustomEC = Checked(IDC_CHKENABLECUSTOMEC);
    v.FanSlow = Text(IDC_TXTFANSLOW);
    v.FanStop = Text(IDC_TXTFANSTOP);
    v.FanAuto = Text(IDC_TXTFANAUTO);
    return v;
}

// The checks speak before anything changes; the autostart, not a setting of the file,
// is set up here. The dialog then closes, and the caller stores and applies the record.
void butSave_Click() {
    const ConfigForm::View view = ReadControls();
    const ConfigForm::SaveResult result = ConfigForm::Save(view, *dialog.stored);
    if (result.ResolutionRejected)
        ShowMessage(dialog.hwnd, "Error, invalid resolution!");
    if (result.EcValuesRejected)
        ShowMessage(dialog.hwnd, std::string("Invalid EC values!\r\n") + kEcValueMessage);
    if (result.DeviceIdRejected)
        ShowMessage(dialog.hwnd, "Invalid device ID!\r\nThe custom device's ID begins with its bus and a backslash "
                                 "(USB\\ or PCI\\, for example) and holds no * ? @ = or \" but one * at its end.");
    dialog.saved = result.Settings;
    modStartupLink::AutostartEnabled = result.AutostartEnabled;
    // Autostart runs the program with administrator rights: not from a folder that
    // others can change. Refused, it is as if the box had been cleared.
    const std::string name = modStartupLink::ExecutableName(), folder = KnownFolders::AppFolder();
    bool autostart = result.AutostartEnabled;
    if (autostart) {
        const FolderSafety::Finding finding = modFolderSafety::CheckFolder(folder);
        if (finding.unsafe()) {
            autostart = modStartupLink::AutostartEnabled = false;
            ShowMessage(dialog.hwnd, FolderSafety::AutostartRefusedText(finding));
        }
    }
    // What failed to be set up is not in force: the box shows that next time.
    if (FAILED(modStartupLink::UpdateAutostart(name, folder, autostart))) {
        modStartupLink::AutostartEnabled = false;
        ShowMessage(dialog.hwnd, "Autostart with Windows could not be set.");
    }
    EndDialog(dialog.hwnd, IDC_BUTSAVE);
}

void butTest_Click() {
    const auto value = ConfigForm::HexByte(Text(IDC_TXTTEST));
    if (!value) {
        ShowMessage(dialog.hwnd, std::string("Invalid EC value!\r\n") + kEcValueMessage);
        return;
    }
    SetText(IDC_TXTTEST, ConfigForm::HexText(*value));
    modAcerEC::SetFanTestValue(*value);
}

void RunPatch(const char* (*action)()) {
    ShowMessage(dialog.hwnd, action());
    ShowPatchState(modAcpiECPatch::IsACPIECPatched());
}

void OnCommand(int id) {
    switch (id) {
        case IDC_BUTSAVE: butSave_Click(); break;
        case IDCANCEL: EndDialog(dialog.hwnd, IDCANCEL); break;  // Cancel, Esc, the close box
        case IDC_CHKSTOPFAN: Enable(IDC_CBOSTOPFAN, Checked(id)); break;
        case IDC_CHKSLOWFAN: Enable(IDC_CBOSLOWFAN, Checked(id)); break;
        case IDC_CHKAUTOFAN: Enable(IDC_CBOAUTOFAN, Checked(id)); break;
        case IDC_CHKENABLECUSTOMEC: EnableGroup(kEcValueGroup, Checked(id)); break;
        case IDC_CHKENABLEDEVICE: EnableGroup(kDeviceGroup, Checked(id)); break;
        case IDC_BUTTEST: butTest_Click(); break;
        case IDC_BUTPATCH: RunPatch([] { return modAcpiECPatch::PatchACPIEC(); }); break;
        case IDC_BUTUNPATCH: RunPatch(modAcpiECPatch::UnpatchACPIEC); break;
    }
}

INT_PTR CALLBACK ConfigProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            dialog.hwnd = hwnd;
            Form_Load();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED)
                OnCommand(LOWORD(wParam));
            return TRUE;
    }
    return FALSE;
}

}  // namespace

std::optional<Closed> Show(HWND owner, const SettingsRecord& stored, const ConfigForm::Facts& facts) {
    if (!dialog.hwnd) {
        dialog.stored = &stored;
        dialog.facts = facts;
        dialog.saved.reset();
    }
    const auto result = ShowModalOnce(dialog.hwnd, IDD_CONFIG, owner, ConfigProc);
    if (!result)
        return std::nullopt;
    return Closed{*result == IDC_BUTSAVE ? dialog.saved : std::nullopt};
}

}  // namespace frmConfig
