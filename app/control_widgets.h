#pragma once

#include <memory>

#include "app/dialog_units.h"
#include "resources/panel_template.h"

class QCompleter;
class QWidget;

// Makes the widgets of one dialog template's controls.
class ControlMaker {
 public:
  explicit ControlMaker(DialogBaseUnits base);
  ~ControlMaker();
  ControlMaker(const ControlMaker&) = delete;
  ControlMaker& operator=(const ControlMaker&) = delete;

  // The widget for one control: of its kind, with its caption, in its place and with
  // its shown and enabled state. The caller wires it.
  QWidget* Make(const ControlSpec& entry, QWidget* parent);

 private:
  QWidget* MakeOfKind(const ControlSpec& entry, QWidget* parent);
  QWidget* MakeCombo(const ControlSpec& entry, QWidget* parent);

  DialogBaseUnits base_;
  // Lent to each editable combo's line edit while the combo takes it: a combo builds a
  // completer over its entries for an edit that has none. One serves every combo.
  std::unique_ptr<QCompleter> comboStandIn_;
};
