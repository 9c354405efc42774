#include "app/port_picker.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

#include "app/palette_colours.h"
#include "app/text_codec.h"
#include "link/serial_devices.h"
#include "panel/panel_dialog.h"

namespace {

// Beside the port number, inside the USB group; and the free strip under the top row
// of groups, from the USB group to the panel's right edge.
constexpr DialogRect kButtonRect = {161, 20, 7, 14};
constexpr DialogRect kLineRect = {104, 64, 336, 10};

}  // namespace

PortPicker::PortPicker(CKeloConfigurationDlg& panel, QWidget& window, DialogBaseUnits base)
    : QObject(&window),
      panel_(panel),
      detect_(ListSerialDevices),
      button_(new QToolButton(&window)),
      menu_(new QMenu(button_)),
      line_(new QLabel(&window)) {
  button_->setText(QStringLiteral("▾"));
  button_->setToolTip(tr("Choose a detected adapter, or find the machine"));
  button_->setAccessibleName(tr("Choose the adapter"));
  button_->setPopupMode(QToolButton::InstantPopup);
  // Reached by Tab after the original panel's controls, and never by a click, so that the
  // original's first focus and tab order stay as they are.
  button_->setFocusPolicy(Qt::TabFocus);
  button_->setMenu(menu_);
  button_->setGeometry(MapDialogRect(kButtonRect, base));
  connect(menu_, &QMenu::aboutToShow, this, &PortPicker::FillMenu);

  line_->setGeometry(MapDialogRect(kLineRect, base));
  line_->setTextFormat(Qt::PlainText);
  line_->hide();
}

void PortPicker::ShowLine(const QString& text, PortLineTone tone) {
  // One line here; the whole text, hints included, in the tooltip.
  const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
  ShowInTone(*line_, tone == PortLineTone::kProblem ? TextTone::kWarning
                     : tone == PortLineTone::kFound ? TextTone::kSuccess
                                                    : TextTone::kPlain);
  line_->setText(line_->fontMetrics().elidedText(firstLine, Qt::ElideRight, line_->width()));
  // A screen reader hears the line whole, and hears it when it changes.
  line_->setAccessibleName(firstLine);
  line_->setToolTip(text);
  line_->setVisible(!text.isEmpty());
}

void PortPicker::FillMenu() {
  menu_->clear();
  const std::string selected = panel_.connection().SelectedDevice();
  const std::vector<SerialDevice> offered = panel_.chooser().Offered(detect_());
  for (const SerialDevice& device : offered) {
    QAction* action = menu_->addAction(FromCore(DeviceLabel(device)));
    action->setCheckable(true);
    action->setChecked(selected == device.node || selected == StableName(device));
    connect(action, &QAction::triggered, this, [this, device] {
      panel_.chooser().Choose(device);
      emit portChosen();
    });
  }
  if (offered.empty()) menu_->addAction(tr("No serial adapter found"))->setEnabled(false);
  menu_->addSeparator();
  QAction* find = menu_->addAction(tr("Find machine"));
  find->setEnabled(panel_.chooser().CanFind());
  connect(find, &QAction::triggered, this, &PortPicker::FindMachine);
}

void PortPicker::FindMachine() {
  panel_.chooser().FindMachine(detect_());
}
