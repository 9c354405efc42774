#include "app/about_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include "app/app_icon.h"
#include "app/control_widgets.h"
#include "app/dialog_units.h"
#include "app/text_codec.h"
#include "resources/panel_template.h"

namespace {

constexpr int kIconX = 11;  // dialog units
constexpr int kIconY = 17;
constexpr int kIconPixels = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  const DialogTemplate& form = AboutDialogTemplate();
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(FromCore(form.title));
  setWindowIcon(AppIcon());
  QFont font = QApplication::font();
  font.setPointSize(form.fontPointSize);
  setFont(font);
  const DialogBaseUnits base = BaseUnitsOf(font);
  setFixedSize(DialogUnitsToPixelsX(form.width, base), DialogUnitsToPixelsY(form.height, base));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(AppIcon().pixmap(kIconPixels, kIconPixels));
  icon->setGeometry(DialogUnitsToPixelsX(kIconX, base), DialogUnitsToPixelsY(kIconY, base),
                    kIconPixels, kIconPixels);

  ControlMaker maker(base);
  for (const ControlSpec& entry : AboutControls()) {
    QWidget* widget = maker.Make(entry, this);
    if (entry.kind == ControlKind::kDefaultPushButton) {
      connect(qobject_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
              &QDialog::accept);
      widget->setFocus();
    }
  }
}
