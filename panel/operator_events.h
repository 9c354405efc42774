#pragma once

#include <string_view>

class CKeloConfigurationDlg;

// The panel's message map: what happens when the operator, not the program, acts on a
// control. Views (the Qt window, the headless panel) report operator events here; the
// model itself never runs a handler.

// A click on a button, check box or indicator. A check box toggles first, then its
// handler (if any) runs; an indicator does not change.
void OperatorClicked(CKeloConfigurationDlg& panel, int id);
// The operator picked entry `index` of a combo's list.
void OperatorSelected(CKeloConfigurationDlg& panel, int id, int index);
// The operator changed the whole text of an edit in one change.
void OperatorEdited(CKeloConfigurationDlg& panel, int id, std::string_view text);
// The operator typed text into a combo's field.
void OperatorTypedComboText(CKeloConfigurationDlg& panel, int id, std::string_view text);
