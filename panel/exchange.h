#pragma once

class Host;
struct PanelState;

// The exchange of the five bound values with their edits.

// "Show the panel": every value into its edit, in exchange order.
void ShowPanel(PanelState& panel);
// "Read the panel": stops at the first edit that does not hold an integer in its range,
// tells the operator and puts the focus there; values stored before stay stored.
bool ReadPanel(PanelState& panel, Host& host);
