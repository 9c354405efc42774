// The operator's events run the panel's handlers as the message map says; changes
// made from code show in the widgets and run no handler.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/about_dialog.h"
#include "resources/control_ids.h"
#include "window_fixture.h"

namespace {

const QString kConfirmExit = QStringLiteral("Confirm Exit");

}  // namespace

class PanelEventsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    f = std::make_unique<WindowFixture>();
    f->window.show();
    f->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window));
  }
  void cleanup() { f.reset(); }

  void clickingAButtonRunsItsHandler_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<int>>("queued");  // the next code to be sent first
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("documents");
    const QStringList none;
    QTest::newRow("Set Date") << ids::kSetDateButton << QList<int>{16} << none << none;
    QTest::newRow("Set Service") << ids::kSetServiceButton << QList<int>{13, 13, 14} << none
                                 << none;
    QTest::newRow("Write, no port")
        << ids::kWriteButton << QList<int>{} << QStringList{"Error \nNo port open"} << none;
    QTest::newRow("Read, no port")
        << ids::kReadButton << QList<int>{} << QStringList{"Error \nNo port open"} << none;
    QTest::newRow("Connect") << ids::kConnectButton
                             << QList<int>{1,  1,  1,  1,  13, 3,  9,  11, 7,
                                           19, 17, 17, 17, 17, 17, 17, 17, 17}
                             << none << none;
    QTest::newRow("Set Defaults")
        << ids::kSetDefaultsButton << QList<int>{}
        << QStringList{"      Warning!\n Calibration values\n will be overwritten"} << none;
    QTest::newRow("Exit") << ids::kExitButton << QList<int>{} << QStringList{kConfirmExit} << none;
    QTest::newRow("Help (hidden)") << ids::kHelpButton << QList<int>{}
                                   << QStringList{"Help files not found !\n Navigate to find"}
                                   << QStringList{"/work/site/kelo manual.pdf", "/work/site"};
  }
  void clickingAButtonRunsItsHandler() {
    QFETCH(int, id);
    QFETCH(QList<int>, queued);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, documents);
    f->panel.host.answers = {MessageAnswer::kCancel};
    auto* button = f->Get<QPushButton>(id);
    if (button->isVisible()) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      button->click();  // the operator cannot reach it; its handler is still mapped
    }
    QCOMPARE(f->QueuedCodes(), queued);
    QCOMPARE(f->Messages(), messages);
    QStringList opened;
    for (const std::string& path : f->panel.host.openedDocuments) {
      opened.append(QString::fromStdString(path));
    }
    QCOMPARE(opened, documents);
  }

  void connectShowsTheAttemptAndThePortTooltip() {
    f->panel.port.openSucceeds = false;
    QTest::mouseClick(f->Get<QPushButton>(ids::kConnectButton), Qt::LeftButton);
    f->panel.ConnectTicks(1);
    QCOMPARE(f->panel.port.calls.front(), std::string("open /dev/ttyUSB0"));
    QCOMPARE(f->Get<QLineEdit>(ids::kPortEdit)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f->Get<QLabel>(ids::kStatusLine)->text(),
             QStringLiteral("STATUS: Attempting Connection ,18s remaining"));
  }

  void saveAllWritesTheReportWhereTheOperatorSays() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings"));
    f->panel.host.savePaths.push_back(path.toStdString());
    QTest::mouseClick(f->Get<QPushButton>(ids::kSaveAllButton), Qt::LeftButton);
    QFile report(path);
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().startsWith("KELO CONFIGURATION SETTINGS\r\n****"));
  }

  void typingIntoCalValueRunsTheGuardOnEveryKeystroke() {
    const int32_t& calValue = f->panel.state().values.calValue;
    auto* edit = f->Get<QLineEdit>(ids::kCalValueEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_2);
    QCOMPARE(calValue, 2);
    QTest::keyClick(edit, Qt::Key_5);
    QCOMPARE(calValue, 25);
    QCOMPARE(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_1);  // 251 is over the limit of 250
    QCOMPARE(calValue, 0);
    QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(edit->selectedText(), QStringLiteral("0"));
    QTest::keyClick(edit, Qt::Key_7);  // typing replaces the selected guard value
    QCOMPARE(edit->text(), QStringLiteral("7"));
    QCOMPARE(calValue, 7);
    QVERIFY(f->Messages().isEmpty());
  }

  void typingInAnEditDoesNotMoveTheCursor() {
    auto* edit = f->Get<QLineEdit>(ids::kSHtEdit);  // no handler: the model takes the text
    edit->setFocus();
    edit->setText(QStringLiteral("12"));
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_9);
    QCOMPARE(edit->text(), QStringLiteral("192"));
    QCOMPARE(edit->cursorPosition(), 2);
    QCOMPARE(f->model().GetText(ids::kSHtEdit), std::string("192"));
  }

  void typingThePortNumberSelectsTheDevice() {
    const int32_t& commPort = f->panel.state().values.commPort;
    auto* edit = f->Get<QLineEdit>(ids::kPortEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_5);
    QCOMPARE(commPort, 5);
    QCOMPARE(edit->toolTip(), QStringLiteral("/dev/ttyUSB4"));
    QTest::keyClick(edit, Qt::Key_1);  // 51 is no port: back to port 2
    QCOMPARE(commPort, 2);
    QCOMPARE(edit->text(), QStringLiteral("2"));
    QCOMPARE(edit->toolTip(), QStringLiteral("/dev/ttyUSB1"));
  }

  void enterInAnEditOrComboAsksConfirmExit_data() {
    QTest::addColumn<int>("id");
    for (int id : {1002, 1003, 1004, 1005, 1024, 1045, 1052, 1061, 1062, 1046}) {
      QTest::newRow(qPrintable(QString::number(id))) << id;
    }
  }
  void enterInAnEditOrComboAsksConfirmExit() {
    QFETCH(int, id);
    QWidget* widget = f->window.Control(id);
    widget->setFocus();
    const int selection = f->model().GetSelection(id);
    f->panel.host.answers = {MessageAnswer::kCancel};
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    QVERIFY(!f->panel.host.endResult);
    f->panel.host.answers = {MessageAnswer::kOk};
    QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f->panel.host.endResult, std::optional<int>(10));
    QCOMPARE(f->model().GetSelection(id), selection);
  }

  void enterOnAnotherPushButtonPressesThatButton() {
    QWidget* setDate = f->window.Control(ids::kSetDateButton);
    setDate->setFocus();
    QTest::keyClick(setDate, Qt::Key_Return);
    QCOMPARE(f->QueuedCodes(), QList<int>{16});
    QVERIFY(f->Messages().isEmpty());
    QWidget* tMax = f->window.Control(ids::kTMaxEdit);
    tMax->setFocus();  // back in an edit, Exit is the default again
    QTest::keyClick(tMax, Qt::Key_Return);
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
  }

  void cancellingTheExitLeavesEverythingRunning_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Escape") << "escape" << 2;
    QTest::newRow("close box") << "close" << 2;
    QTest::newRow("Exit") << "exit" << 10;
  }
  void cancellingTheExitLeavesEverythingRunning() {
    QFETCH(QString, how);
    QFETCH(int, result);
    QTest::mouseClick(f->Get<QPushButton>(ids::kConnectButton), Qt::LeftButton);
    f->panel.ConnectTicks(1);  // the connect tick opens the port
    QVERIFY(f->panel.dlg.link().IsOpen());
    const auto leave = [&] {
      if (how == "escape") QTest::keyClick(f->window.Control(ids::kCalValueEdit), Qt::Key_Escape);
      if (how == "close") f->window.close();
      if (how == "exit") QTest::mouseClick(f->Get<QPushButton>(ids::kExitButton), Qt::LeftButton);
    };
    f->panel.host.answers = {MessageAnswer::kCancel};
    leave();
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    QVERIFY(!f->panel.host.endResult);
    QVERIFY(f->window.isVisible());
    QVERIFY(f->panel.dlg.link().IsOpen());
    QCOMPARE(f->panel.port.closes, 0);
    QCOMPARE(f->panel.host.runningTimers.size(), std::size_t(2));
    f->panel.host.answers = {MessageAnswer::kOk};
    leave();
    QCOMPARE(f->panel.host.endResult, std::optional<int>(result));
  }

  void aClickOnAnIndicatorChangesNothing() {
    auto* ready = f->Get<QRadioButton>(ids::kReadyIndicator);
    // Through the window, as the operator's mouse comes, and straight at the widget.
    const auto click = [&] {
      const QPoint centre = ready->mapTo(&f->window, ready->rect().center());
      QTest::mouseClick(f->window.windowHandle(), Qt::LeftButton, {}, centre);
      QTest::mouseClick(ready, Qt::LeftButton);
    };
    click();
    QVERIFY(!ready->isChecked());
    QVERIFY(!f->model().IsChecked(ids::kReadyIndicator));
    f->panel.ConnectToMachine();  // its fog status has the Ready bit set
    QVERIFY(ready->isChecked());
    click();
    QVERIFY(ready->isChecked());
    QVERIFY(f->model().IsChecked(ids::kReadyIndicator));
    QVERIFY(f->Messages().isEmpty());
  }

  void aClickOnACheckBoxTogglesItInTheModel() {
    auto* pumpRun = f->Get<QCheckBox>(ids::kPumpRunCheck);
    QTest::mouseClick(pumpRun, Qt::LeftButton);
    QVERIFY(f->model().IsChecked(ids::kPumpRunCheck));
    QTest::mouseClick(pumpRun, Qt::LeftButton);
    QVERIFY(!f->model().IsChecked(ids::kPumpRunCheck));
    QVERIFY(f->Messages().isEmpty());
  }

  // Compressor Run and the run time "+0" exclude each other: each handler sees the
  // operator's new mark or selection and undoes the other.
  void theOperatorsClicksAndSelectionsRunTheirHandlers() {
    auto* compressorRun = f->Get<QCheckBox>(ids::kCompressorRunCheck);
    auto* runTime = f->Get<QComboBox>(ids::kRunTimeCombo);
    QTest::mouseClick(compressorRun, Qt::LeftButton);  // run time "+50": nothing to undo
    QVERIFY(f->model().IsChecked(ids::kCompressorRunCheck));
    QVERIFY(f->Messages().isEmpty());

    runTime->setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(runTime, Qt::Key_Up);  // "+50" up to "+0"
    QCOMPARE(f->model().GetSelection(ids::kRunTimeCombo), 0);
    QCOMPARE(f->Messages(), QStringList{"Warning, \nPower Save  \nWill Be Disabled"});
    QVERIFY(!compressorRun->isChecked());

    QTest::mouseClick(compressorRun, Qt::LeftButton);
    QCOMPARE(f->Messages(), (QStringList{"Warning, \nPower Save  \nWill Be Disabled",
                                         "Warning, \nAux Input = Panic  \nWill Be Disabled"}));
    QVERIFY(compressorRun->isChecked());
    QCOMPARE(runTime->currentText(), QStringLiteral("+10"));

    auto* localTemp = f->Get<QComboBox>(ids::kLocalTempCombo);
    localTemp->setFocus();
    QTest::keyClick(localTemp, Qt::Key_Up);  // "20" to "19"
    QTest::keyClick(localTemp, Qt::Key_Up);  // "18" also sets the evaporator fan
    QCOMPARE(f->model().GetSelection(ids::kLocalTempCombo), 1);
    QCOMPARE(f->Get<QComboBox>(ids::kEvapFanCombo)->currentText(), QStringLiteral("+1"));
  }

  void typedComboTextIsTheFieldWithNoSelection() {
    auto* combo = f->Get<QComboBox>(ids::kLocalTempCombo);
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("2x"));
    QCOMPARE(f->model().GetText(ids::kLocalTempCombo), std::string("2x"));
    QCOMPARE(f->model().GetSelection(ids::kLocalTempCombo), -1);
    QCOMPARE(combo->currentText(), QStringLiteral("2x"));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
    combo->lineEdit()->setCursorPosition(1);
    QTest::keyClick(combo, Qt::Key_5);
    QCOMPARE(f->model().GetText(ids::kLocalTempCombo), std::string("25x"));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
    // Text that matches an entry is still typed text: neither Enter nor leaving the
    // field picks the entry for it.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("22"));
    f->panel.host.answers = {MessageAnswer::kCancel};
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    f->window.Control(ids::kCalValueEdit)->setFocus();
    QCOMPARE(f->model().GetSelection(ids::kLocalTempCombo), -1);
    QCOMPARE(f->model().GetText(ids::kLocalTempCombo), std::string("22"));
    QCOMPARE(combo->currentText(), QStringLiteral("22"));
  }

  void changesFromCodeShowInTheWidgetsAndRunNoHandler() {
    ControlModel& model = f->model();
    model.SetText(ids::kStatusLine, "STATUS: Link is live  (Firmware Rev = 1v23)");
    QCOMPARE(f->Get<QLabel>(ids::kStatusLine)->text(),
             QStringLiteral("STATUS: Link is live  (Firmware Rev = 1v23)"));
    model.SetText(ids::kConnectButton, "Close");
    QCOMPARE(f->Get<QPushButton>(ids::kConnectButton)->text(), QStringLiteral("Close"));
    model.SetText(ids::kNameEdit, "Brumo \xE9");  // a machine name that is not UTF-8
    QCOMPARE(f->Get<QLineEdit>(ids::kNameEdit)->text(), QStringLiteral("Brumo \u00e9"));
    model.SetProgress(ids::kLinkProgress, 40);
    QCOMPARE(f->Get<QProgressBar>(ids::kLinkProgress)->value(), 40);

    // What the operator's hand would answer with a warning or a second change.
    model.SetCheck(ids::kCompressorRunCheck, 1);
    model.SetSelection(ids::kRunTimeCombo, 0);
    model.SetSelection(ids::kLocalTempCombo, 1);
    QVERIFY(f->Get<QCheckBox>(ids::kCompressorRunCheck)->isChecked());
    QCOMPARE(f->Get<QComboBox>(ids::kRunTimeCombo)->currentText(), QStringLiteral("+0"));
    QCOMPARE(f->Get<QComboBox>(ids::kLocalTempCombo)->currentText(), QStringLiteral("18"));
    QVERIFY(model.IsChecked(ids::kCompressorRunCheck));
    QCOMPARE(model.GetSelection(ids::kEvapFanCombo), 0);

    model.SetSelection(ids::kLocalTempCombo, 2);
    QCOMPARE(f->Get<QComboBox>(ids::kLocalTempCombo)->currentText(), QStringLiteral("19"));
    model.SetSelection(ids::kRunTimeCombo, 7);  // beyond the list: no selection, empty field
    QCOMPARE(f->Get<QComboBox>(ids::kRunTimeCombo)->currentIndex(), -1);
    QCOMPARE(f->Get<QComboBox>(ids::kRunTimeCombo)->currentText(), QString());
    model.SetText(ids::kPumpMinCombo, "+9");  // a field text from code leaves no selection
    QCOMPARE(f->Get<QComboBox>(ids::kPumpMinCombo)->currentIndex(), -1);
    QCOMPARE(f->Get<QComboBox>(ids::kPumpMinCombo)->currentText(), QStringLiteral("+9"));

    auto* list = f->Get<QListWidget>(ids::kEventList);
    for (int i = 0; i < 30; ++i)
      model.AddLine(ids::kEventList, "Event = line " + std::to_string(i));
    QCOMPARE(list->count(), 30);
    QCOMPARE(list->item(29)->text(), QStringLiteral("Event = line 29"));
    model.SetTopIndex(ids::kEventList, 10);
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 10);
    model.ResetList(ids::kEventList);
    QCOMPARE(list->count(), 0);
    QVERIFY(f->Messages().isEmpty());
  }

  void readingTheEditsFocusesTheBadOne() {
    auto* tMin = f->Get<QLineEdit>(ids::kTMinEdit);
    tMin->setFocus();
    tMin->selectAll();
    QTest::keyClick(tMin, Qt::Key_X);  // T_Min has no handler: nothing is read yet
    QVERIFY(f->Messages().isEmpty());
    auto* calValue = f->Get<QLineEdit>(ids::kCalValueEdit);
    calValue->setFocus();
    calValue->end(false);
    QTest::keyClick(calValue, Qt::Key_Backspace);  // "15": reads the panel, stops at T_Min
    QCOMPARE(f->Messages(), QStringList{"Please enter an integer."});
    QCOMPARE(QApplication::focusWidget(), tMin);
  }

  void theWindowMenuOpensTheAboutBox() {
    QMenu menu;
    f->window.PopulateWindowMenu(menu);
    // About comes first; the status bar's commands follow (link_status_bar_test).
    QCOMPARE(menu.actions().front()->text(), QStringLiteral("&About Kelo Configuration..."));
    QString title;
    QStringList lines;
    bool hasIcon = false;
    QTimer::singleShot(0, [&] {
      auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
      if (about == nullptr) return;
      title = about->windowTitle();
      for (QLabel* label : about->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) lines.append(label->text());
        if (!label->pixmap().isNull()) hasIcon = true;
      }
      QTest::mouseClick(about->findChild<QPushButton*>(), Qt::LeftButton);
    });
    menu.actions().front()->trigger();
    QCOMPARE(title, QStringLiteral("About Kelo Configuration"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.front(), QStringLiteral("Kelo Configuration Version " KELO_VERSION));
    QVERIFY(hasIcon);
  }

 private:
  std::unique_ptr<WindowFixture> f;
};

QTEST_MAIN(PanelEventsTest)
#include "panel_events_test.moc"
