// The window builds every control of the template where the template puts it, of its
// kind, with its caption, visibility and tab order.

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
#include <memory>

#include "app/dialog_units.h"
#include "panel_fixture.h"

class PanelLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { f = std::make_unique<PanelFixture>(); }
  void cleanup() { f.reset(); }

  void usesTheEightPointTemplateFont() {
    QCOMPARE(f->window.font().pointSize(), 8);
    QCOMPARE(f->window.BaseUnits(), BaseUnitsOf(f->window.font()));
    const DialogBaseUnits base = f->window.BaseUnits();
    QCOMPARE(f->window.size(),
             QSize(DialogUnitsToPixelsX(447, base), DialogUnitsToPixelsY(318, base)));
  }

  void buildsEveryControlAtItsPlaceWithItsCaption() {
    const auto controls = PanelControls();
    const auto& widgets = f->window.ControlWidgets();
    QCOMPARE(widgets.size(), controls.size());
    const DialogBaseUnits base = f->window.BaseUnits();
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlSpec& entry = controls[i];
      QWidget* widget = widgets[i];
      const QString where = QStringLiteral("control %1 (%2)").arg(entry.id).arg(i);
      DialogRect rect = entry.rect;
      if (entry.kind == ControlKind::kCombo) rect.height = 14;  // closed: an edit's height
      QVERIFY2(widget->geometry() == MapDialogRect(rect, base), qPrintable(where));
      QVERIFY2(widget->isHidden() == !entry.shown, qPrintable(where));
      QVERIFY2(widget->isEnabled() == entry.enabled, qPrintable(where));
      QVERIFY2(CaptionOf(widget) ==
                   QString::fromUtf8(entry.caption.data(), qsizetype(entry.caption.size())),
               qPrintable(where));
      QVERIFY2(IsOfKind(widget, entry.kind), qPrintable(where));
      if (entry.id != kNoControlId) QCOMPARE(f->window.Control(entry.id), widget);
    }
  }

  void monitorIsHiddenAndDisabled() {
    QWidget* monitor = f->window.Control(1007);
    QVERIFY(monitor->isHidden());
    QVERIFY(!monitor->isEnabled());
  }

  void kindsBehaveAsTabled() {
    f->window.InitDialog();
    QVERIFY(f->Get<QPushButton>(1)->isDefault());
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
    auto* list = f->Get<QListWidget>(1055);
    QVERIFY(!list->isSortingEnabled());
    QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    for (int id : {1021, 1022}) {
      auto* bar = f->Get<QProgressBar>(id);
      QCOMPARE(bar->minimum(), 0);
      QCOMPARE(bar->maximum(), 100);
      QVERIFY(!bar->isTextVisible());
    }
  }

  void startUpShowsTheStartUpSet() {
    f->host.profileStore.WriteProfileInt("Kelo Config", "Comm Port", 3);
    f->window.InitDialog();
    QCOMPARE(f->window.windowTitle(), QStringLiteral("Brumo Configuration 1v2"));
    QVERIFY(!f->window.windowIcon().isNull());
    QVERIFY(!(f->window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f->window.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QList<std::pair<int, QString>> texts = {
        {1002, "157"}, {1003, "2"}, {1004, "15"}, {1005, "10"}, {1024, "3"}};
    for (const auto& [id, text] : texts) QCOMPARE(f->Get<QLineEdit>(id)->text(), text);
    QCOMPARE(f->Get<QLineEdit>(1024)->toolTip(), QStringLiteral("/dev/ttyUSB2"));
    QCOMPARE(f->Get<QLabel>(1071)->text(), QStringLiteral("STATUS: Link is stopped"));
    QCOMPARE(f->Get<QLabel>(1072)->text(), QStringLiteral("Next due "));
    const QList<std::pair<int, QString>> fields = {
        {1052, "+50"}, {1045, "20"}, {1061, "0"}, {1062, "0"}, {1046, "+1"}};
    for (const auto& [id, text] : fields) QCOMPARE(f->Get<QComboBox>(id)->currentText(), text);
    QVERIFY(f->Get<QCheckBox>(1034)->isChecked());
    QVERIFY(!f->Get<QCheckBox>(1067)->isChecked());
    QCOMPARE(f->host.runningTimers, (std::map<int, unsigned>{{1, 120}, {2, 1000}}));
  }

  void focusStartsOnExitAndTabsInTemplateOrder() {
    f->window.InitDialog();
    f->window.show();
    f->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window));
    QCOMPARE(QApplication::focusWidget(), f->window.Control(1));
    QList<int> order;
    for (std::size_t i = 0; i < PanelTabOrder().size(); ++i) {
      order.append(IdOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QList<int> expected(PanelTabOrder().begin(), PanelTabOrder().end());
    QCOMPARE(order, expected);
    QCOMPARE(IdOf(QApplication::focusWidget()), 1);  // round again
  }

 private:
  static QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    return {};
  }

  static bool IsOfKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
      case ControlKind::kPushButton:
        return qobject_cast<QPushButton*>(widget) &&
               !static_cast<QPushButton*>(widget)->isDefault();
      case ControlKind::kDefaultPushButton:
        return qobject_cast<QPushButton*>(widget) && static_cast<QPushButton*>(widget)->isDefault();
      case ControlKind::kIndicator:
        return qobject_cast<QRadioButton*>(widget) != nullptr;
      case ControlKind::kCheckBox:
        return qobject_cast<QCheckBox*>(widget) != nullptr;
      case ControlKind::kEdit:
        return qobject_cast<QLineEdit*>(widget) != nullptr;
      case ControlKind::kCombo:
        return qobject_cast<QComboBox*>(widget) != nullptr;
      case ControlKind::kListBox:
        return qobject_cast<QListWidget*>(widget) != nullptr;
      case ControlKind::kProgressBar:
        return qobject_cast<QProgressBar*>(widget) != nullptr;
      case ControlKind::kStatic:
        return qobject_cast<QLabel*>(widget) != nullptr;
      case ControlKind::kGroupBox:
        return qobject_cast<QGroupBox*>(widget) != nullptr;
    }
    return false;
  }

  int IdOf(QWidget* widget) const {
    for (const ControlSpec& entry : PanelControls()) {
      if (entry.id != kNoControlId && f->window.Control(entry.id) == widget) return entry.id;
    }
    return kNoControlId;
  }

  std::unique_ptr<PanelFixture> f;
};

QTEST_MAIN(PanelLayoutTest)
#include "panel_layout_test.moc"
