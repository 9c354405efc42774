#pragma once

#include <QRect>

#include "app/dialog_units.h"
#include "resources/panel_template.h"

class QWidget;

// A closed combo is as tall as an edit; the rest of its rectangle is the dropped list.
inline constexpr int kComboFieldHeight = 14;

// The widget for one control of a dialog template: of its kind, with its caption and
// its shown and enabled state. The caller places it (ControlGeometry) and wires it.
QWidget* CreateControlWidget(const ControlSpec& entry, QWidget* parent);

// Where a control sits, in pixels.
QRect ControlGeometry(const ControlSpec& entry, DialogBaseUnits base);
