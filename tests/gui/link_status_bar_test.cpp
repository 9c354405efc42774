// The status bar under the panel and the live readouts, offscreen over the simulated
// machine on the in-memory port: where the bar lies, what it reads during and after
// Get All, the readouts dimmed while the link is not live and back at once with a
// reply, and the service commands in the window menu, Trends fed by the bar.

#include "app/link_status_bar.h"

#include <QAction>
#include <QChartView>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <functional>
#include <span>

#include "app/settings_compare_dialog.h"
#include "app/trend_chart.h"
#include "resources/control_ids.h"
#include "window_fixture.h"

namespace {

// The readouts that show what the machine last sent.
const int kLiveReadouts[] = {1008, 1009, 1010, 1013, 1014, 1015, 1016, 1017, 1079,
                             1080, 1081, 1082, 1083, 1084, 1085, 1086, 1087, 1063};
// What the operator works with whatever the link does: never dimmed.
const int kAlwaysEnabled[] = {ids::kStatusLine, ids::kConnectButton, ids::kGetAllButton,
                              ids::kEventList, ids::kPortEdit};

// The controls' enabled states as drawn.
QList<bool> Drawn(const WindowFixture& f, std::span<const int> readouts) {
  QList<bool> enabled;
  for (int id : readouts) enabled.append(f.window.Control(id)->isEnabled());
  return enabled;
}
const QList<bool> kAllEnabled(18, true);
const QList<bool> kAllDimmed(18, false);

// The Trends window replots from the event loop, after its layouts; no clock involved.
void SettleEvents() {
  for (int pass = 0; pass < 5; ++pass) QCoreApplication::processEvents();
}

bool TickUntil(WindowFixture& f, const std::function<bool()>& done) {
  for (int tick = 0; tick < 500 && !done(); ++tick) f.panel.LinkTicks(1);
  return done();
}

int64_t Missing(const WindowFixture& f) {
  return f.panel.dlg.health().counters().missing;
}

// Edge by edge, as the window system maps dialog units to pixels.
QRect InPixels(DialogRect units, DialogBaseUnits base) {
  const auto across = [&](int u) { return static_cast<int>(std::lround(u * base.x / 4.0)); };
  const auto down = [&](int u) { return static_cast<int>(std::lround(u * base.y / 8.0)); };
  return QRect(QPoint(across(units.x), down(units.y)),
               QPoint(across(units.x + units.width) - 1, down(units.y + units.height) - 1));
}

}  // namespace

class LinkStatusBarTest : public QObject {
  Q_OBJECT

 private slots:
  void liesBelowTheTemplateWhoseControlsKeepTheirPlaces() {
    WindowFixture f;
    const DialogBaseUnits base = f.window.BaseUnits();
    const QRect form = InPixels({0, 0, 447, 318}, base);
    const LinkStatusBar& bar = f.window.statusBar();
    QVERIFY(bar.height() >= bar.fontMetrics().height());
    QCOMPARE(bar.geometry(), QRect(0, form.height(), form.width(), bar.height()));
    QCOMPARE(f.window.size(), QSize(form.width(), form.height() + bar.height()));
    std::size_t checked = 0;
    for (const ControlSpec& entry : PanelControls()) {
      DialogRect units = entry.rect;
      if (entry.kind == ControlKind::kCombo) units.height = 14;  // the closed field
      const QWidget* widget = f.window.ControlWidgets()[checked++];
      const QString where = QStringLiteral("control %1").arg(entry.id);
      QVERIFY2(widget->geometry() == InPixels(units, base), qPrintable(where));
      QVERIFY2(!widget->geometry().intersects(bar.geometry()), qPrintable(where));
    }
    QCOMPARE(checked, f.window.ControlWidgets().size());
  }

  void dimsTheReadoutsWhileTheLinkIsNotLive() {
    WindowFixture f;
    QCOMPARE(Drawn(f, kLiveReadouts), kAllEnabled);  // the template's blanks are not stale
    f.panel.ConnectToMachine();
    f.window.statusBar().Refresh();
    QCOMPARE(Drawn(f, kLiveReadouts), kAllEnabled);
    const QString ei = f.Get<QLabel>(ids::kEiLine)->text();
    QVERIFY(!ei.isEmpty());

    LinkStatusBar& bar = f.window.statusBar();
    bar.SetClock([&f] { return f.panel.host.CurrentTimeMs(); });
    const auto machine = f.panel.port.responder;
    f.panel.port.responder = nullptr;
    QVERIFY(TickUntil(f, [&] { return Missing(f) == 2; }));
    bar.Refresh();
    QCOMPARE(Drawn(f, kLiveReadouts), kAllEnabled);
    QVERIFY(bar.linkState()->isHidden());
    // At the third missed reply itself, before any refresh of the bar; the bar says why.
    QVERIFY(TickUntil(f, [&] { return Missing(f) == 3; }));
    QCOMPARE(Drawn(f, kLiveReadouts), kAllDimmed);
    f.panel.host.now += 12;
    bar.Refresh();
    QCOMPARE(bar.linkState()->text(), QStringLiteral("No reply for 12 s"));
    QVERIFY(!bar.linkState()->isHidden());
    QCOMPARE(Drawn(f, kAlwaysEnabled), QList<bool>(5, true));
    QCOMPARE(f.Get<QLabel>(ids::kEiLine)->text(), ei);

    // The first complete reply changes the status line, and the readouts come back
    // with it, before any refresh of the bar.
    f.panel.port.responder = machine;
    const int64_t complete = f.panel.dlg.health().counters().complete;
    QVERIFY(TickUntil(f, [&] { return f.panel.dlg.health().counters().complete > complete; }));
    QCOMPARE(Drawn(f, kLiveReadouts), kAllEnabled);
    bar.Refresh();
    QVERIFY(bar.linkState()->isHidden());

    f.Get<QPushButton>(ids::kConnectButton)->click();  // Close, confirmed
    QCOMPARE(f.Get<QLabel>(ids::kStatusLine)->text(), QStringLiteral("STATUS: Link is stopped"));
    QCOMPARE(Drawn(f, kLiveReadouts), kAllDimmed);
    bar.Refresh();
    QCOMPARE(bar.linkState()->text(), QStringLiteral("Closed"));
    for (int id : kLiveReadouts) QVERIFY(f.model().Find(id)->enabled);  // the view's alone
  }

  void readsTheHealthAndGetAllsProgress() {
    WindowFixture f;
    f.panel.ConnectToMachine();
    QVERIFY(TickUntil(f, [&] { return f.panel.dlg.health().clockOffset().has_value(); }));
    f.panel.Settle();
    LinkStatusBar& bar = f.window.statusBar();
    bar.SetClock([&f] { return f.panel.host.CurrentTimeMs() + 200; });
    bar.Refresh();
    // Every request answered, the machine's clock as this PC's.
    const QRegularExpression healthy(QString::fromUtf8(
        "^/dev/ttyUSB0 · replies: 100.0 % of last ([1-9][0-9]*), \\1 of \\1 since Connect · "
        "last reply 0.2 s ago · clock \\+0 s$"));
    QVERIFY2(healthy.match(bar.summary()->text()).hasMatch(), qPrintable(bar.summary()->text()));
    QVERIFY(bar.logProgress()->isHidden());

    f.Get<QPushButton>(ids::kGetAllButton)->click();
    f.panel.LinkTicks(40);
    bar.Refresh();
    const std::optional<int> read = f.panel.dlg.GetAllRecordsRead();
    QVERIFY(read && *read > 0 && *read < 148);
    QCOMPARE(bar.logProgress()->text(),
             QString::fromUtf8("Reading log: %1 of 148 records · live values paused").arg(*read));
    QVERIFY(!bar.logProgress()->isHidden());
    QCOMPARE(Drawn(f, kLiveReadouts), kAllDimmed);

    f.panel.Settle(2000);
    bar.Refresh();
    QCOMPARE(bar.logProgress()->text(), QStringLiteral("Log read: 148 records"));
    QVERIFY(!bar.logProgress()->isHidden());

    // Clear stays one click; Undo puts the lines back, before any added since.
    const std::vector<std::string> lines = f.model().Find(ids::kEventList)->lines;
    f.Get<QPushButton>(ids::kClearLogButton)->click();
    QVERIFY(bar.undoClear()->isEnabled());
    f.model().AddLine(ids::kEventList, "newer");
    bar.undoClear()->trigger();
    std::vector<std::string> restored = lines;
    restored.emplace_back("newer");
    QCOMPARE(f.model().Find(ids::kEventList)->lines, restored);
    QVERIFY(!bar.undoClear()->isEnabled());
  }

  void windowMenuOffersTheServiceCommands() {
    WindowFixture f;
    QMenu menu;
    f.window.PopulateWindowMenu(menu);
    QStringList texts;
    for (QAction* action : menu.actions()) texts.append(action->text());
    QCOMPARE(texts, (QStringList{"&About Kelo Configuration...", "", "Trends",
                                 QString::fromUtf8("Record…"), QString::fromUtf8("Export CSV…"),
                                 QString::fromUtf8("Service bundle…"),
                                 QString::fromUtf8("Save settings file…"),
                                 QString::fromUtf8("Compare with file…")}));
    QAction* trends = menu.actions()[2];
    QAction* record = menu.actions()[3];

    // Without its module, Trends says which file is missing, and opens once it is there.
    const QByteArray built = qgetenv("KELO_MODULE_DIR");
    qputenv("KELO_MODULE_DIR", QDir::tempPath().toUtf8());
    trends->trigger();
    qputenv("KELO_MODULE_DIR", built);
    QVERIFY(f.window.statusBar().trendsWindow() == nullptr);
    QCOMPARE(f.Messages().size(), 1);
    QVERIFY(f.Messages().front().startsWith(
        "Trends cannot open: kelo-trends.so is missing: it is in none of " + QDir::tempPath()));

    // One Trends window, shown again rather than made anew, and told of new samples.
    trends->trigger();
    QWidget* shown = f.window.statusBar().trendsWindow();
    QVERIFY(shown != nullptr);
    shown->close();
    trends->trigger();
    SettleEvents();
    QCOMPARE(f.window.statusBar().trendsWindow(), shown);
    QCOMPARE(f.window.findChildren<QChartView*>().size(), 3);
    QVERIFY(shown->isVisible());
    const auto* chart = static_cast<TrendChart*>(shown->findChild<QChartView*>()->chart());
    QCOMPARE(chart->picture().lines.front().points.size(), std::size_t{0});
    f.window.statusBar().SetClock([&f] { return f.panel.host.CurrentTimeMs(); });
    f.panel.ConnectToMachine();
    QVERIFY(TickUntil(f, [&] { return f.panel.dlg.telemetry().samples().added() == 2; }));
    f.window.statusBar().Refresh();
    SettleEvents();
    QVERIFY(!chart->picture().lines.front().points.empty());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("telemetry.csv"));
    f.panel.host.savePaths.push_back(path.toStdString());
    LinkStatusBar& bar = f.window.statusBar();
    bar.SetClock([&f] { return f.panel.host.CurrentTimeMs(); });
    record->trigger();
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(record->text(), QStringLiteral("Stop recording"));
    QCOMPARE(bar.recordingIndicator()->text(), QString::fromUtf8("● Recording"));
    f.panel.host.now += 6;  // three passes and more without a sample
    bar.Refresh();
    QVERIFY(bar.recordingIndicator()->text().startsWith(
        QString::fromUtf8("● Recording, no samples since ")));
    record->trigger();
    QVERIFY(!f.panel.dlg.telemetry().recording());
    QCOMPARE(record->text(), QString::fromUtf8("Record…"));

    // The machine's file, its Run Time edited, compared, applied and written: the bar
    // says the read-back verified it.
    const std::string settings = folder.filePath(QStringLiteral("m.brumo")).toStdString();
    f.panel.host.savePaths.push_back(settings);
    menu.actions()[6]->trigger();
    QFile file(QString::fromStdString(settings));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray edited = file.readAll().replace("Run Time = +20", "Run Time = +30");
    file.resize(0);
    file.write(edited);
    file.close();
    f.panel.host.openPath = settings;
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<SettingsCompareDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->Ticked(), std::vector<std::size_t>{1});
      QTest::keyClick(dialog->table(), Qt::Key_Space);  // the keyboard's way to untick
      QCOMPARE(dialog->Ticked(), std::vector<std::size_t>{});
      QTest::keyClick(dialog->table(), Qt::Key_Space);
      for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons()) {
        if (button->text() == QStringLiteral("Apply and &Write")) button->click();
      }
    });
    menu.actions()[7]->trigger();
    QVERIFY(TickUntil(f, [&] { return f.panel.dlg.writeVerification().last().has_value(); }));
    bar.Refresh();
    QCOMPARE(bar.settingsFiles().verdict()->text(),
             QStringLiteral("Write verified: the machine holds what was sent"));
  }
};

QTEST_MAIN(LinkStatusBarTest)
#include "link_status_bar_test.moc"
