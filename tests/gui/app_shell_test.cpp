// The application object runs the panel, titled and with its icon, modally until the
// operator confirms Exit.

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/dialog_sizes.h"
#include "app/keloconfiguration_app.h"
#include "app/panel_window.h"

class AppShellTest : public QObject {
  Q_OBJECT

 private slots:
  void runsThePanelUntilExitIsConfirmed() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QStringList seen;
    bool panelStillShown = false;
    int exitClicks = 0;
    // The operator's hand looks at the open window every 10 ms and acts on it from a
    // fresh event, so the modal loop its click opens does not block the looking.
    bool acting = false;
    const auto act = [&](auto action) {
      acting = true;
      QTimer::singleShot(0, [&acting, action] {
        acting = false;
        action();
      });
    };
    QTimer operatorHand;
    operatorHand.setInterval(10);
    connect(&operatorHand, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (acting || modal == nullptr || !modal->isVisible()) return;
      if (auto* panel = qobject_cast<PanelWindow*>(modal)) {
        if (exitClicks == 1) panelStillShown = true;
        if (exitClicks == 2) return;
        seen.append(panel->windowTitle());
        // The icon is set once the window has painted, as it has by its second look.
        if (exitClicks == 1 && panel->windowIcon().isNull()) seen.append("no icon");
        ++exitClicks;
        auto* exit = static_cast<QPushButton*>(panel->Control(1));
        act([exit] { exit->click(); });
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.append(box->text());
        // Cancel the first time, then confirm.
        QAbstractButton* answer =
            box->button(exitClicks == 1 ? QMessageBox::Cancel : QMessageBox::Ok);
        act([answer] { answer->click(); });
      }
    });
    operatorHand.start();
    // Should the panel not end as it ought to, end its run from outside so the test
    // reports what it saw instead of hanging.
    QTimer::singleShot(30000, [] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->done(0);
      }
    });
    CKeloConfigurationApp app;
    QCOMPARE(app.InitInstance(), false);
    QCOMPARE(seen, (QStringList{"Brumo Configuration 1v2", "Confirm Exit",
                                "Brumo Configuration 1v2", "Confirm Exit"}));
    QVERIFY(panelStillShown);
  }

  void dialogsOpenWithinTheScreenAtTheSizeLastGiven() {
    DialogSizes sizes;
    qApp->installEventFilter(&sizes);
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    {
      QDialog big;
      big.resize(room * 2);
      big.show();
      QVERIFY(big.width() <= room.width() && big.height() <= room.height());
      big.resize(300, 200);
    }
    QDialog again;
    again.show();
    QCOMPARE(again.size(), QSize(300, 200));
  }
};

QTEST_MAIN(AppShellTest)
#include "app_shell_test.moc"
