#include "app/accessible_names.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "resources/control_ids.h"

namespace {

struct ControlName {
  int id;
  const char* name;
};

constexpr ControlName kNames[] = {
    // The label beside the control.
    {ids::kSHtEdit, "S_Ht (C)"},
    {ids::kTMinEdit, "T_Min (C)"},
    {ids::kTMaxEdit, "T_Max (C)"},
    {ids::kCalValueEdit, "Cal Value"},
    {ids::kRunTimeCombo, "Run Time"},
    {ids::kLocalTempCombo, "Local Temp' (C)"},
    // The group's title, and its label where the group holds two.
    {ids::kPumpMinCombo, "PUMP ADJUST Min"},
    {ids::kPumpMaxCombo, "PUMP ADJUST Max"},
    {ids::kEvapFanCombo, "EVAP FAN ADJUST"},
    {ids::kLinkProgress, "UPLOAD/DOWNLOAD progress"},
    {ids::kCalProgress, "CALIBRATION progress"},
    // No label: what the control holds.
    {ids::kPortEdit, "USB port number"},
    {ids::kEventList, "Event log"},
};

}  // namespace

void NameControl(int id, QWidget& widget) {
  for (const ControlName& entry : kNames) {
    if (entry.id != id) continue;
    const QString name = QObject::tr(entry.name);
    widget.setAccessibleName(name);
    // The combo's field takes its keys; it answers to the same name.
    auto* combo = qobject_cast<QComboBox*>(&widget);
    if (combo != nullptr && combo->lineEdit() != nullptr) {
      combo->lineEdit()->setAccessibleName(name);
    }
  }
}

void NameIndicator(QAbstractButton& indicator) {
  indicator.setAccessibleName(indicator.isChecked() ? QObject::tr("%1: on").arg(indicator.text())
                                                    : QObject::tr("%1: off").arg(indicator.text()));
}
