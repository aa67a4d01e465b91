#include "options/SettingDlg.h"

#include "res/resource.h"

SettingDlg::SettingDlg(HWND parent) : fw::CDialog(IDD_SETTINGS, parent) {}

bool SettingDlg::OnCommand(int id, int code, HWND control) {
    // Until the choices are wired, every button of the dialog closes it.
    if (code == BN_CLICKED && control != nullptr) {
        EndDialog(IDCANCEL);
        return true;
    }
    return fw::CDialog::OnCommand(id, code, control);
}
