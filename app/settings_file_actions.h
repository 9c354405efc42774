#pragma once

#include <QList>
#include <QObject>
#include <cstdint>

class CKeloConfigurationDlg;
class HealthLine;
class QAction;
class QWidget;

// Save settings file… and Compare with file…, for the status bar's Service menu and the
// window menu; and the status bar's line that says what the last Write's read-back
// showed, in the success or the warning colour.
class SettingsFileActions : public QObject {
 public:
  SettingsFileActions(CKeloConfigurationDlg& panel, QWidget& window, QObject* parent);

  QList<QAction*> actions() const { return {save_, compare_}; }
  HealthLine* verdict() const { return verdict_; }
  // Shows a verdict the panel decided since the last look.
  void Refresh();
  // Asks for a file, compares it and shows the comparison; applies what the operator
  // ticks.
  void CompareWithFile();

 private:
  CKeloConfigurationDlg& panel_;
  QWidget& window_;
  QAction* save_;
  QAction* compare_;
  HealthLine* verdict_;
  uint64_t verdictShown_ = 0;
};
