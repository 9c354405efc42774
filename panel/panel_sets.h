#pragma once

class ControlModel;
struct PanelState;

// The start-up set (window creation) and the default set (Set Defaults). Neither
// changes the machine name the panel keeps, only the hidden name edit.
void ApplyStartUpSet(ControlModel& controls);
// Ends by showing the panel.
void ApplyDefaultSet(PanelState& panel);
