// The window builds the controls of the template where the template puts them, of
// their kind, with their caption, visibility and tab order, and shows the panel as it
// started.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <memory>

#include "app/dialog_units.h"
#include "app/link_status_bar.h"
#include "app/template_group_box.h"
#include "resources/control_ids.h"
#include "window_fixture.h"

namespace {

// One control as the panel's layout gives it, in dialog units. Labels and group boxes
// have no ID and are found by their caption.
struct Placed {
  int id;
  const char* widgetClass;
  const char* caption;  // null: the control's text is the panel's state, not a caption
  DialogRect units;
  bool shown;
  bool enabled;
};

// Every kind, shown and hidden. A closed combo is an edit's height (14) high.
const Placed kPlaced[] = {
    {1, "QPushButton", "Exit", {321, 158, 49, 14}, true, true},
    {1018, "QPushButton", "Write", {15, 15, 30, 14}, true, true},
    {1007, "QPushButton", "Monitor", {390, 176, 33, 14}, false, false},
    {1051, "QPushButton", "Help", {354, 179, 49, 14}, false, true},
    {1008, "QRadioButton", "Ready", {182, 15, 36, 10}, true, true},
    {1009, "QRadioButton", "MainsOk", {240, 15, 44, 10}, false, true},
    {1067, "QCheckBox", "Compressor Run", {20, 165, 66, 10}, true, true},
    {1027, "QCheckBox", "N/C", {403, 179, 29, 10}, false, true},
    {1024, "QLineEdit", nullptr, {115, 20, 45, 14}, true, true},
    {1059, "QLineEdit", nullptr, {400, 175, 40, 14}, false, true},
    {1052, "QComboBox", nullptr, {149, 237, 64, 14}, true, true},
    {1057, "QComboBox", nullptr, {377, 180, 48, 14}, false, true},
    {1055, "QListWidget", nullptr, {157, 86, 277, 53}, true, true},
    {1021, "QProgressBar", nullptr, {15, 34, 75, 10}, true, true},
    {1089, "QLabel", "Output Frequency", {229, 269, 80, 10}, true, true},
    {kNoControlId, "QLabel", "Run Time", {149, 228, 53, 8}, true, true},
    {kNoControlId, "QGroupBox", "FOG STATUS", {172, 3, 268, 60}, true, true},
};

// 14 group boxes and 69 controls, labels included.
constexpr std::size_t kTemplateControls = 83;

const QList<int> kTabOrder = {1,    1002, 1003, 1004, 1005, 1018, 1020, 1024, 1026,
                              1029, 1034, 1041, 1042, 1045, 1050, 1052, 1066, 1055,
                              1058, 1060, 1061, 1062, 1065, 1067, 1070, 1046};

// Edge by edge: a unit is a quarter of the base width across and an eighth of the
// base height down, rounded to the nearest pixel.
QRect InPixels(const DialogRect& units, DialogBaseUnits base) {
  const auto across = [&](int u) { return static_cast<int>(std::lround(u * base.x / 4.0)); };
  const auto down = [&](int u) { return static_cast<int>(std::lround(u * base.y / 8.0)); };
  return QRect(QPoint(across(units.x), down(units.y)),
               QPoint(across(units.x + units.width) - 1, down(units.y + units.height) - 1));
}

QString CaptionOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  return {};
}

}  // namespace

class PanelLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { f = std::make_unique<WindowFixture>(); }
  void cleanup() { f.reset(); }

  void usesTheEightPointTemplateFont() {
    QCOMPARE(f->window.font().pointSize(), 8);
    // The average width of the 52 letters, and the font's height.
    const QFontMetrics metrics(f->window.font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const DialogBaseUnits base = f->window.BaseUnits();
    QCOMPARE(base,
             (DialogBaseUnits{static_cast<int>(std::lround(letters / 52.0)), metrics.height()}));
    // The status bar adds its height under the template.
    const QSize form = InPixels({0, 0, 447, 318}, base).size();
    QCOMPARE(f->window.size(), form + QSize(0, f->window.statusBar().height()));
  }

  void buildsTheControlsAtTheirPlacesWithTheirCaptions() {
    QCOMPARE(f->window.ControlWidgets().size(), kTemplateControls);
    for (const Placed& placed : kPlaced) {
      const QString where = QStringLiteral("%1 %2").arg(placed.id).arg(placed.caption);
      QWidget* widget = placed.id != kNoControlId ? f->window.Control(placed.id) : nullptr;
      for (QWidget* candidate : f->window.ControlWidgets()) {
        if (widget == nullptr && candidate->inherits(placed.widgetClass) &&
            CaptionOf(candidate) == placed.caption) {
          widget = candidate;
        }
      }
      QVERIFY2(widget != nullptr, qPrintable(where));
      QVERIFY2(widget->inherits(placed.widgetClass), qPrintable(where));
      const QRect expected = InPixels(placed.units, f->window.BaseUnits());
      QVERIFY2(widget->geometry() == expected, qPrintable(where + QStringLiteral(": at %1,%2 %3x%4")
                                                                      .arg(widget->x())
                                                                      .arg(widget->y())
                                                                      .arg(widget->width())
                                                                      .arg(widget->height())));
      QVERIFY2(widget->isHidden() == !placed.shown, qPrintable(where));
      QVERIFY2(widget->isEnabled() == placed.enabled, qPrintable(where));
      if (placed.caption != nullptr) QCOMPARE(CaptionOf(widget), QString(placed.caption));
    }
  }

  void kindsBehaveAsTabled() {
    auto* exit = f->Get<QPushButton>(ids::kExitButton);
    QVERIFY(exit->isDefault());
    QVERIFY(!f->Get<QPushButton>(ids::kWriteButton)->isDefault());
    for (int id : {1008, 1009, 1010, 1013, 1014, 1015, 1016, 1017}) {
      auto* indicator = f->Get<QRadioButton>(id);
      QVERIFY(!indicator->autoExclusive());
      QCOMPARE(indicator->focusPolicy(), Qt::NoFocus);
      QVERIFY(indicator->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    const QStringList adjust = {"0", "+1", "+2", "+3", "+4", "+5", "+6", "+7", "+8"};
    const QList<std::pair<int, QStringList>> lists = {
        {1045, {"17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27"}},
        {1052, {"+0", "+10", "+20", "+30", "+40", "+50"}},
        {1061, adjust},
        {1062, adjust},
        {1046, adjust},
        {1057, {}}};
    for (const auto& [id, entries] : lists) {
      auto* combo = f->Get<QComboBox>(id);
      QVERIFY(combo->isEditable());
      QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
      QCOMPARE(combo->completer(), nullptr);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i) shown.append(combo->itemText(i));
      QCOMPARE(shown, entries);
    }
    auto* list = f->Get<QListWidget>(ids::kEventList);
    QVERIFY(!list->isSortingEnabled());
    QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    for (int id : {1021, 1022}) {
      auto* bar = f->Get<QProgressBar>(id);
      QCOMPARE(bar->minimum(), 0);
      QCOMPARE(bar->maximum(), 100);
      QVERIFY(!bar->isTextVisible());
    }
  }

  // The boxes paint their frame themselves; a style sheet drew it before, and Qt drawing
  // that style sheet is the reference: the same pixels for every box of the panel, in a
  // light and a dark palette, enabled or not, at every scale the screenshots are taken at.
  void groupBoxesPaintTheFrameTheirStyleSheetDrew() {
    const QString sheet = QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 0.5em; padding: 0 0.2em; }");
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(40, 40, 40));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Mid, QColor(90, 90, 90));
    const auto render = [](QWidget& widget, qreal scale) {
      QImage image(widget.size() * scale, QImage::Format_ARGB32_Premultiplied);
      image.setDevicePixelRatio(scale);
      image.fill(Qt::transparent);
      widget.render(&image);
      return image;
    };
    int boxes = 0;
    for (QWidget* widget : f->window.ControlWidgets()) {
      const auto* box = qobject_cast<QGroupBox*>(widget);
      if (box == nullptr) continue;
      ++boxes;
      // Both made anew under the palette, which a style sheet takes from the application.
      for (const QPalette& palette : {light, dark}) {
        QApplication::setPalette(palette);
        TemplateGroupBox painted(box->title());
        QGroupBox reference(box->title());
        reference.setStyleSheet(sheet);
        for (QGroupBox* made : {static_cast<QGroupBox*>(&painted), &reference}) {
          made->setFont(box->font());
          made->resize(box->size());
        }
        for (const bool enabled : {true, false}) {
          painted.setEnabled(enabled);
          reference.setEnabled(enabled);
          for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
            QVERIFY2(render(painted, scale) == render(reference, scale),
                     qPrintable(box->title() + " at " + QString::number(scale) + " on " +
                                palette.color(QPalette::Window).name()));
          }
        }
      }
      QApplication::setPalette(light);
    }
    QCOMPARE(boxes, 14);
  }

  void showsThePanelAsItStarted() {
    QVERIFY(!(f->window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f->window.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QList<std::pair<int, QString>> texts = {
        {1002, "157"}, {1003, "2"}, {1004, "15"}, {1005, "10"}, {1024, "1"}};
    for (const auto& [id, text] : texts) QCOMPARE(f->Get<QLineEdit>(id)->text(), text);
    QCOMPARE(f->Get<QLineEdit>(ids::kPortEdit)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f->Get<QLabel>(ids::kStatusLine)->text(), QStringLiteral("STATUS: Link is stopped"));
    QCOMPARE(f->Get<QLabel>(ids::kServiceDueLine)->text(), QStringLiteral("Next due "));
    const QList<std::pair<int, QString>> fields = {
        {1052, "+50"}, {1045, "20"}, {1061, "0"}, {1062, "0"}, {1046, "+1"}};
    for (const auto& [id, text] : fields) QCOMPARE(f->Get<QComboBox>(id)->currentText(), text);
    QVERIFY(f->Get<QCheckBox>(ids::kIdleEnableCheck)->isChecked());
    QVERIFY(!f->Get<QCheckBox>(ids::kCompressorRunCheck)->isChecked());
    QCOMPARE(f->panel.host.runningTimers, (std::map<int, unsigned>{{1, 120}, {2, 1000}}));
  }

  void focusStartsOnExitAndTabsInTemplateOrder() {
    f->window.show();
    f->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window));
    QCOMPARE(QApplication::focusWidget(), f->window.Control(ids::kExitButton));
    QList<int> order;
    for (qsizetype i = 0; i < kTabOrder.size(); ++i) {
      order.append(IdOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, kTabOrder);
    // Then what the window adds: the adapter picker, the status bar's buttons; round again.
    for (const QString name : {"Choose the adapter", "Trends", "Service", "Exit"}) {
      QWidget* focused = QApplication::focusWidget();
      QCOMPARE(QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name), name);
      QTest::keyClick(focused, Qt::Key_Tab);
    }
  }

 private:
  int IdOf(QWidget* widget) const {
    for (int id : kTabOrder) {
      if (f->window.Control(id) == widget) return id;
    }
    return kNoControlId;
  }

  std::unique_ptr<WindowFixture> f;
};

QTEST_MAIN(PanelLayoutTest)
#include "panel_layout_test.moc"
