#include "app/settings_file_actions.h"

#include <QAction>

#include "app/link_status_bar.h"
#include "app/palette_colours.h"
#include "app/settings_compare_dialog.h"
#include "app/text_codec.h"
#include "panel/panel_dialog.h"

SettingsFileActions::SettingsFileActions(CKeloConfigurationDlg& panel, QWidget& window,
                                         QObject* parent)
    : QObject(parent),
      panel_(panel),
      window_(window),
      save_(new QAction(tr("Save settings file…"), this)),
      compare_(new QAction(tr("Compare with file…"), this)),
      verdict_(new HealthLine) {
  save_->setToolTip(tr("Save the machine's settings as it last sent them"));
  compare_->setToolTip(tr("Compare the machine with a settings file, and apply what differs"));
  connect(save_, &QAction::triggered, this,
          [this] { panel_.settingsFiles().OnSaveSettingsFileClicked(); });
  connect(compare_, &QAction::triggered, this, &SettingsFileActions::CompareWithFile);
  verdict_->setAccessibleName(tr("Write verification"));
  verdict_->hide();
}

void SettingsFileActions::Refresh() {
  const std::optional<WriteVerdict>& verdict = panel_.writeVerification().last();
  if (!verdict || verdict->number == verdictShown_) return;
  verdictShown_ = verdict->number;
  ShowInTone(*verdict_, verdict->verified() ? TextTone::kSuccess : TextTone::kWarning);
  verdict_->SetText(FromCore(verdict->Text()));
  verdict_->show();
}

void SettingsFileActions::CompareWithFile() {
  SettingsFileCommands& files = panel_.settingsFiles();
  const std::optional<Comparison> comparison = files.OnCompareWithFileClicked();
  if (!comparison) return;
  SettingsCompareDialog dialog(*comparison, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.choice() == SettingsCompareDialog::Choice::kApplyAndWrite) {
    files.ApplyAndWrite(*comparison, dialog.Ticked());
  } else {
    files.Apply(*comparison, dialog.Ticked());
  }
}
