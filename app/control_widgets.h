#pragma once

#include <QRect>

#include "app/dialog_units.h"
#include "resources/panel_template.h"

class QWidget;

// A closed combo is as tall as an edit; the rest of its rectangle is the dropped list.
inline constexpr int kComboFieldHeight = 14;

// The widget for one control of a dialog template: of its kind, with its caption, in
// its place (ControlGeometry) and with its shown and enabled state. The caller wires it.
QWidget* CreateControlWidget(const ControlSpec& entry, QWidget* parent, DialogBaseUnits base);

// Where a control sits, in pixels.
QRect ControlGeometry(const ControlSpec& entry, DialogBaseUnits base);
