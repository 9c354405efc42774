// The reply dispatcher: a complete reply is decoded by its own code (byte 2) alone.

#include "panel/panel_dialog.h"

void CKeloConfigurationDlg::DispatchReply() {
  // Reply codes without a handler change nothing.
}

void CKeloConfigurationDlg::ShowFogStatus() {}
void CKeloConfigurationDlg::OnGetAllClicked() {}
void CKeloConfigurationDlg::OnClearLogClicked() {}
void CKeloConfigurationDlg::OnSaveLogClicked() {}
