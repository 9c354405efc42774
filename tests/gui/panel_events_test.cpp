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
#include "panel_fixture.h"

namespace {

const QString kConfirmExit = QStringLiteral("Confirm Exit");

}  // namespace

class PanelEventsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    f = std::make_unique<PanelFixture>();
    f->window.InitDialog();
    f->window.show();
    f->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window));
  }
  void cleanup() { f.reset(); }

  void clickingAButtonRunsItsHandler_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<int>>("stack");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("documents");
    const QStringList none;
    QTest::newRow("Set Date") << 1042 << QList<int>{16} << none << none;
    QTest::newRow("Set Service") << 1070 << QList<int>{14, 13, 13} << none << none;
    QTest::newRow("Write, no port")
        << 1018 << QList<int>{} << QStringList{"Error \nNo port open"} << none;
    QTest::newRow("Read, no port")
        << 1020 << QList<int>{} << QStringList{"Error \nNo port open"} << none;
    QTest::newRow("Connect") << 1026 << QList<int>{17, 17, 17, 17, 17, 17, 17, 17, 19,
                                                   7,  11, 9,  3,  13, 1,  1,  1,  1}
                             << none << none;
    QTest::newRow("Set Defaults")
        << 1060 << QList<int>{}
        << QStringList{"      Warning!\n Calibration values\n will be overwritten"} << none;
    QTest::newRow("Exit") << 1 << QList<int>{} << QStringList{kConfirmExit} << none;
    QTest::newRow("Help (hidden)")
        << 1051 << QList<int>{} << QStringList{"Help files not found !\n Navigate to find"}
        << QStringList{"/work/site/kelo manual.pdf", "/work/site"};
  }
  void clickingAButtonRunsItsHandler() {
    QFETCH(int, id);
    QFETCH(QList<int>, stack);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, documents);
    f->host.answers = {MessageAnswer::kCancel};
    auto* button = f->Get<QPushButton>(id);
    if (button->isVisible()) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      button->click();  // the operator cannot reach it; its handler is still mapped
    }
    QCOMPARE(f->Stack(), stack);
    QCOMPARE(f->Messages(), messages);
    QStringList opened;
    for (const std::string& path : f->host.openedDocuments)
      opened.append(QString::fromStdString(path));
    QCOMPARE(opened, documents);
  }

  void connectShowsTheAttemptAndThePortTooltip() {
    f->port.openSucceeds = false;
    QTest::mouseClick(f->Get<QPushButton>(1026), Qt::LeftButton);
    f->panel.OnTimer(2);
    QCOMPARE(f->port.calls.front(), std::string("open /dev/ttyUSB0"));
    QCOMPARE(f->Get<QLineEdit>(1024)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f->Get<QLabel>(1071)->text(),
             QStringLiteral("STATUS: Attempting Connection ,18s remaining"));
  }

  void saveAllWritesTheReportWhereTheOperatorSays() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings"));
    f->host.savePaths.push_back(path.toStdString());
    QTest::mouseClick(f->Get<QPushButton>(1050), Qt::LeftButton);
    QFile report(path);
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().startsWith("KELO CONFIGURATION SETTINGS\r\n****"));
  }

  void typingIntoCalValueRunsTheGuardOnEveryKeystroke() {
    auto* edit = f->Get<QLineEdit>(1002);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_2);
    QCOMPARE(f->panel.calValue, 2);
    QTest::keyClick(edit, Qt::Key_5);
    QCOMPARE(f->panel.calValue, 25);
    QCOMPARE(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_1);  // 251 is over the limit of 250
    QCOMPARE(f->panel.calValue, 0);
    QCOMPARE(edit->text(), QStringLiteral("0"));
    QCOMPARE(edit->selectedText(), QStringLiteral("0"));
    QTest::keyClick(edit, Qt::Key_7);  // typing replaces the selected guard value
    QCOMPARE(edit->text(), QStringLiteral("7"));
    QCOMPARE(f->panel.calValue, 7);
    QVERIFY(f->Messages().isEmpty());
  }

  void typingInAnEditDoesNotMoveTheCursor() {
    auto* edit = f->Get<QLineEdit>(1003);  // S_Ht: no handler, the model takes the text
    edit->setFocus();
    edit->setText(QStringLiteral("12"));
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_9);
    QCOMPARE(edit->text(), QStringLiteral("192"));
    QCOMPARE(edit->cursorPosition(), 2);
    QCOMPARE(f->model().GetText(1003), std::string("192"));
  }

  void typingThePortNumberSelectsTheDevice() {
    auto* edit = f->Get<QLineEdit>(1024);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_5);
    QCOMPARE(f->panel.commPort, 5);
    QCOMPARE(edit->toolTip(), QStringLiteral("/dev/ttyUSB4"));
    QTest::keyClick(edit, Qt::Key_1);  // 51 is no port: back to port 2
    QCOMPARE(f->panel.commPort, 2);
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
    f->host.answers = {MessageAnswer::kCancel};
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    QVERIFY(!f->host.endResult);
    f->host.answers = {MessageAnswer::kOk};
    QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f->host.endResult, std::optional<int>(10));
    QCOMPARE(f->model().GetSelection(id), selection);
  }

  void enterOnAnotherPushButtonPressesThatButton() {
    QWidget* setDate = f->window.Control(1042);
    setDate->setFocus();
    QTest::keyClick(setDate, Qt::Key_Return);
    QCOMPARE(f->Stack(), QList<int>{16});
    QVERIFY(f->Messages().isEmpty());
    f->window.Control(1005)->setFocus();  // back in an edit, Exit is the default again
    QTest::keyClick(f->window.Control(1005), Qt::Key_Return);
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
    QTest::mouseClick(f->Get<QPushButton>(1026), Qt::LeftButton);
    f->panel.OnTimer(2);  // the connect tick opens the port
    QVERIFY(f->panel.portOpen);
    const auto leave = [&] {
      if (how == "escape") QTest::keyClick(f->window.Control(1002), Qt::Key_Escape);
      if (how == "close") f->window.close();
      if (how == "exit") QTest::mouseClick(f->Get<QPushButton>(1), Qt::LeftButton);
    };
    f->host.answers = {MessageAnswer::kCancel};
    leave();
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    QVERIFY(!f->host.endResult);
    QVERIFY(f->window.isVisible());
    QVERIFY(f->panel.portOpen);
    QCOMPARE(f->port.closes, 0);
    QCOMPARE(f->host.runningTimers.size(), std::size_t(2));
    f->host.answers = {MessageAnswer::kOk};
    leave();
    QCOMPARE(f->host.endResult, std::optional<int>(result));
  }

  void aClickOnAnIndicatorChangesNothing() {
    auto* ready = f->Get<QRadioButton>(1008);
    // Through the window, as the operator's mouse comes, and straight at the widget.
    const auto click = [&] {
      const QPoint centre = ready->mapTo(&f->window, ready->rect().center());
      QTest::mouseClick(f->window.windowHandle(), Qt::LeftButton, {}, centre);
      QTest::mouseClick(ready, Qt::LeftButton);
    };
    click();
    QVERIFY(!ready->isChecked());
    QVERIFY(!f->model().IsChecked(1008));
    f->model().SetCheck(1008, 1);
    QVERIFY(ready->isChecked());
    click();
    QVERIFY(ready->isChecked());
    QVERIFY(f->model().IsChecked(1008));
    QVERIFY(f->Messages().isEmpty());
  }

  void aClickOnACheckBoxTogglesItInTheModel() {
    auto* pumpRun = f->Get<QCheckBox>(1058);
    QTest::mouseClick(pumpRun, Qt::LeftButton);
    QVERIFY(f->model().IsChecked(1058));
    QTest::mouseClick(pumpRun, Qt::LeftButton);
    QVERIFY(!f->model().IsChecked(1058));
    QVERIFY(f->Messages().isEmpty());
  }

  void compressorRunSeesItsNewMark() {
    f->model().SetSelection(1052, 0);
    QTest::mouseClick(f->Get<QCheckBox>(1067), Qt::LeftButton);
    QCOMPARE(f->Messages(), QStringList{"Warning, \nAux Input = Panic  \nWill Be Disabled"});
    QVERIFY(f->Get<QCheckBox>(1067)->isChecked());
    QCOMPARE(f->Get<QComboBox>(1052)->currentText(), QStringLiteral("+10"));
  }

  void programmaticChangesRunNoHandler() {
    f->model().SetCheck(1067, 1);
    f->model().SetSelection(1052, 0);
    f->model().SetSelection(1045, 1);
    QVERIFY(f->Messages().isEmpty());
    QVERIFY(f->model().IsChecked(1067));
    QCOMPARE(f->model().GetSelection(1061), 0);  // "18" by the operator would set "+1"
    QCOMPARE(f->Get<QComboBox>(1052)->currentText(), QStringLiteral("+0"));
    QVERIFY(f->Get<QCheckBox>(1067)->isChecked());
  }

  void theOperatorsSelectionRunsItsHandler() {
    f->model().SetCheck(1067, 1);
    auto* runTime = f->Get<QComboBox>(1052);
    runTime->setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(runTime, Qt::Key_Up);  // "+50" up to "+0"
    QCOMPARE(f->model().GetSelection(1052), 0);
    QCOMPARE(f->Messages(), QStringList{"Warning, \nPower Save  \nWill Be Disabled"});
    QVERIFY(!f->Get<QCheckBox>(1067)->isChecked());

    auto* localTemp = f->Get<QComboBox>(1045);
    localTemp->setFocus();
    QTest::keyClick(localTemp, Qt::Key_Up);  // "20" to "19"
    QTest::keyClick(localTemp, Qt::Key_Up);  // "18" also sets the evaporator fan
    QCOMPARE(f->model().GetSelection(1045), 1);
    QCOMPARE(f->Get<QComboBox>(1061)->currentText(), QStringLiteral("+1"));
  }

  void typedComboTextIsTheFieldWithNoSelection() {
    auto* combo = f->Get<QComboBox>(1045);
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("2x"));
    QCOMPARE(f->model().GetText(1045), std::string("2x"));
    QCOMPARE(f->model().GetSelection(1045), -1);
    QCOMPARE(combo->currentText(), QStringLiteral("2x"));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
    combo->lineEdit()->setCursorPosition(1);
    QTest::keyClick(combo, Qt::Key_5);
    QCOMPARE(f->model().GetText(1045), std::string("25x"));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
    // Text that matches an entry is still typed text: neither Enter nor leaving the
    // field picks the entry for it.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("22"));
    f->host.answers = {MessageAnswer::kCancel};
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(f->Messages(), QStringList{kConfirmExit});
    f->window.Control(1002)->setFocus();
    QCOMPARE(f->model().GetSelection(1045), -1);
    QCOMPARE(f->model().GetText(1045), std::string("22"));
    QCOMPARE(combo->currentText(), QStringLiteral("22"));
  }

  void modelChangesShowInTheWidgets() {
    ControlModel& model = f->model();
    model.SetText(1071, "STATUS: Link is live  (Firmware Rev = 1v23)");
    QCOMPARE(f->Get<QLabel>(1071)->text(),
             QStringLiteral("STATUS: Link is live  (Firmware Rev = 1v23)"));
    model.SetText(1026, "Close");
    QCOMPARE(f->Get<QPushButton>(1026)->text(), QStringLiteral("Close"));
    model.SetText(1059, "Brumo \xE9");  // a machine name that is not UTF-8
    QCOMPARE(f->Get<QLineEdit>(1059)->text(), QStringLiteral("Brumo \u00e9"));
    model.SetProgress(1021, 40);
    QCOMPARE(f->Get<QProgressBar>(1021)->value(), 40);
    model.SetSelection(1045, 2);
    QCOMPARE(f->Get<QComboBox>(1045)->currentText(), QStringLiteral("19"));
    model.SetSelection(1052, 7);  // beyond the list: no selection, empty field
    QCOMPARE(f->Get<QComboBox>(1052)->currentIndex(), -1);
    QCOMPARE(f->Get<QComboBox>(1052)->currentText(), QString());
    model.SetText(1062, "+9");  // a field text from code leaves no selection
    QCOMPARE(f->Get<QComboBox>(1062)->currentIndex(), -1);
    QCOMPARE(f->Get<QComboBox>(1062)->currentText(), QStringLiteral("+9"));

    auto* list = f->Get<QListWidget>(1055);
    for (int i = 0; i < 30; ++i) model.AddLine(1055, "Event = line " + std::to_string(i));
    QCOMPARE(list->count(), 30);
    QCOMPARE(list->item(29)->text(), QStringLiteral("Event = line 29"));
    model.SetTopIndex(1055, 10);
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 10);
    model.ResetList(1055);
    QCOMPARE(list->count(), 0);
    QVERIFY(f->Messages().isEmpty());
  }

  void readingTheEditsFocusesTheBadOne() {
    auto* tMin = f->Get<QLineEdit>(1004);
    f->model().SetText(1004, "x");
    auto* calValue = f->Get<QLineEdit>(1002);
    calValue->setFocus();
    QTest::keyClick(calValue, Qt::Key_Backspace);  // "15": reads the panel, stops at 1004
    QCOMPARE(f->Messages(), QStringList{"Please enter an integer."});
    QCOMPARE(QApplication::focusWidget(), tMin);
  }

  void theWindowMenuOpensTheAboutBox() {
    QMenu menu;
    f->window.PopulateWindowMenu(menu);
    QCOMPARE(menu.actions().size(), 1);
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
    QCOMPARE(lines.front(), QStringLiteral("Kelo Configuration Version 1.4"));
    QVERIFY(hasIcon);
  }

 private:
  std::unique_ptr<PanelFixture> f;
};

QTEST_MAIN(PanelEventsTest)
#include "panel_events_test.moc"
