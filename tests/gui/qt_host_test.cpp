// The Qt host: its message boxes, save dialog, timers and ending of the modal run.

#include "app/qt_host.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "panel/panel_dialog.h"
#include "support/fake_port.h"

namespace {

// Runs `answer` on the next modal window that opens, once it is up.
void WhenModalOpens(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    answer(modal);
  });
  poll->start();
}

}  // namespace

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    host = std::make_unique<QtHost>(QDir::temp().filePath("kelo-test.ini").toStdString());
    panel = std::make_unique<CKeloConfigurationDlg>(*host, port);
    window = std::make_unique<QDialog>();
    host->Attach(*panel, *window);
  }
  void cleanup() {
    host->StopTimer(kLinkTimerId);
    host->StopTimer(kConnectTimerId);
    window.reset();
    panel.reset();
    host.reset();
  }

  void messageBoxIsTitledWithTheProgramsName_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    const int ok = int(MessageButtons::kOk);
    const int okCancel = int(MessageButtons::kOkCancel);
    const int cancelFirst = int(MessageButtons::kOkCancelDefaultCancel);
    const int answerOk = int(MessageAnswer::kOk);
    const int answerCancel = int(MessageAnswer::kCancel);
    QTest::newRow("OK box, OK") << ok << "ok" << answerOk;
    QTest::newRow("OK box, Escape") << ok << "escape" << answerOk;
    QTest::newRow("OK/Cancel, OK") << okCancel << "ok" << answerOk;
    QTest::newRow("OK/Cancel, Enter") << okCancel << "enter" << answerOk;
    QTest::newRow("OK/Cancel, Cancel") << okCancel << "cancel" << answerCancel;
    QTest::newRow("OK/Cancel, Escape") << okCancel << "escape" << answerCancel;
    QTest::newRow("OK/Cancel, close box") << okCancel << "close" << answerCancel;
    QTest::newRow("Cancel default, Enter") << cancelFirst << "enter" << answerCancel;
    QTest::newRow("Cancel default, OK") << cancelFirst << "ok" << answerOk;
  }
  void messageBoxIsTitledWithTheProgramsName() {
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, answer);
    QString title, text;
    QMessageBox::StandardButtons shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModalOpens([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      shown = box->standardButtons();
      if (action == "ok") box->button(QMessageBox::Ok)->click();
      if (action == "cancel") box->button(QMessageBox::Cancel)->click();
      if (action == "escape") QTest::keyClick(box, Qt::Key_Escape);
      if (action == "enter") QTest::keyClick(box, Qt::Key_Return);
      if (action == "close") box->close();
    });
    const MessageAnswer got =
        host->ShowMessage("Confirm \n Close Port", static_cast<MessageButtons>(buttons));
    QCOMPARE(int(got), answer);
    QCOMPARE(title, QStringLiteral("kelo-configuration"));
    QCOMPARE(text, QStringLiteral("Confirm \n Close Port"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(shown, buttons == int(MessageButtons::kOk)
                        ? QMessageBox::StandardButtons(QMessageBox::Ok)
                        : QMessageBox::Ok | QMessageBox::Cancel);
  }

  void ticksGoOnBehindAMessageBox() {
    // The connect tick runs while the box waits for the operator.
    panel->connection().OnConnectClicked();
    QVERIFY(host->StartTimer(kConnectTimerId, 10));
    WhenModalOpens([&](QWidget* modal) {
      (void)QTest::qWaitFor([&] { return port.opens > 0; }, 10000);
      modal->close();
    });
    host->ShowMessage("Confirm Exit", MessageButtons::kOkCancel);
    QVERIFY(port.opens > 0);
    QVERIFY(panel->link().IsOpen());
  }

  void laterBoxOpensOnceTheCallerHasReturned() {
    QString text;
    WhenModalOpens([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      text = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    host->ShowMessageLater("Recording stopped.");
    QVERIFY(text.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(text, QStringLiteral("Recording stopped."), 10000);
  }

  void stoppedTimersCallNoMore() {
    // A port that never opens: every connect tick counts the attempt down.
    port.openSucceeds = false;
    const ConnectionManager& connection = panel->connection();
    panel->connection().OnConnectClicked();
    QVERIFY(host->StartTimer(kConnectTimerId, 10));
    QTRY_VERIFY_WITH_TIMEOUT(connection.connectSecondsLeft() < 18, 10000);
    host->StopTimer(kConnectTimerId);
    const int32_t left = connection.connectSecondsLeft();
    QVERIFY(left > 0);
    // Another timer that is still running proves the event loop went round.
    int rounds = 0;
    QTimer other;
    connect(&other, &QTimer::timeout, [&] { ++rounds; });
    other.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(rounds >= 5, 10000);
    QCOMPARE(connection.connectSecondsLeft(), left);
    QVERIFY(connection.connectPending());
  }

  void saveDialogGivesThePathAsChosen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::newRow("report") << "FOGGER-ONE settings 2026-12-07.txt"
                            << "Text files (*.txt)";
    QTest::newRow("CSV") << "FOGGER-ONE 2026-12-07.csv"
                         << "CSV files (*.csv)";
    QTest::newRow("bundle") << "FOGGER-ONE 2026-12-07.zip"
                            << "Zip archives (*.zip)";
  }
  void saveDialogGivesThePathAsChosen() {
    QFETCH(QString, name);
    QFETCH(QString, filter);
    // The dialog opens in the current folder with the suggested name; accepting it gives
    // that path. (Choosing another file races the dialog's loading of its folder.)
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });
    QString suffix = QStringLiteral("unset");
    bool confirmsOverwrite = false;
    QStringList filters;
    WhenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog == nullptr) return;
      suffix = dialog->defaultSuffix();
      confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      filters = dialog->nameFilters();
      QMetaObject::invokeMethod(dialog, &QDialog::accept);
    });
    QCOMPARE(host->AskSavePath(name.toStdString()),
             std::optional<std::string>(dir.filePath(name).toStdString()));
    QCOMPARE(suffix, QString());
    QVERIFY(confirmsOverwrite);
    QCOMPARE(filters, (QStringList{filter, QStringLiteral("All files (*)")}));
  }

  void cancellingTheSaveDialogGivesNothing() {
    WhenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(host->AskSavePath("report.txt"), std::nullopt);
  }

  void endDialogEndsTheWindowsRun() {
    int result = -1;
    QTimer::singleShot(0, [&] { host->EndDialog(10); });
    result = window->exec();
    QCOMPARE(result, 10);
    QVERIFY(!window->isVisible());
  }

  void currentDirectoryOfAnyLength() {
    QTemporaryDir dir;
    QString deep = dir.path();
    for (int i = 0; i < 6; ++i) deep += QStringLiteral("/a-rather-long-folder-name-for-help");
    QVERIFY(QDir().mkpath(deep));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(deep));
    const std::string current = host->CurrentDirectory();
    QDir::setCurrent(before);
    QVERIFY(current.size() > 200);
    QCOMPARE(QString::fromStdString(current), QDir(deep).canonicalPath());
  }

  void aMissingDocumentDoesNotOpen() {
    QTemporaryDir dir;
    QVERIFY(!host->OpenDocument(dir.filePath(QStringLiteral("kelo manual.pdf")).toStdString()));
  }

  void currentTimeIsTheSystemsTime() {
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const int64_t now = host->CurrentTime();
    const int64_t after = static_cast<int64_t>(std::time(nullptr));
    QVERIFY(before <= now && now <= after);
  }

 private:
  FakeSerialPort port;
  std::unique_ptr<QtHost> host;
  std::unique_ptr<CKeloConfigurationDlg> panel;
  std::unique_ptr<QDialog> window;
};

QTEST_MAIN(QtHostTest)
#include "qt_host_test.moc"
