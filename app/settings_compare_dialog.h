#pragma once

#include <QDialog>
#include <cstddef>
#include <vector>

#include "panel/settings_compare.h"

class QPushButton;
class QTableWidget;

// Compare with file…: a view of the comparison's rows, the settings that differ first,
// each with a tick box where Apply can set it; above them what the file is compared with
// and whose it is, and how many settings differ. Apply, or Apply and Write; nothing is
// sent without Write.
class SettingsCompareDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Choice { kCancel, kApply, kApplyAndWrite };

  SettingsCompareDialog(const Comparison& comparison, QWidget* parent);

  Choice choice() const { return choice_; }
  // The settings ticked now.
  std::vector<std::size_t> Ticked() const;
  QTableWidget* table() const { return table_; }

 private:
  void FillTable(const Comparison& comparison);
  void Choose(Choice choice);
  void TicksChanged();
  QSize ContentSize() const;

  std::vector<std::size_t> settings_;  // by row
  QTableWidget* table_;
  QPushButton* apply_ = nullptr;
  QPushButton* applyAndWrite_ = nullptr;
  Choice choice_ = Choice::kCancel;
};
