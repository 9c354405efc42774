#include "app/qt_host.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <ctime>
#include <iostream>
#include <utility>

#include "app/text_codec.h"
#include "panel/panel_dialog.h"

namespace {

QString PathFromCore(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathToCore(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

QtHost::QtHost(std::string profilePath) : profile_(std::move(profilePath)) {
  later_.setSingleShot(true);
  later_.setInterval(0);
  QObject::connect(&later_, &QTimer::timeout, &later_, [this] {
    for (const std::string& text : std::exchange(laterTexts_, {})) {
      ShowMessage(text, MessageButtons::kOk);
    }
  });
}

QtHost::~QtHost() = default;

void QtHost::Attach(CKeloConfigurationDlg& panel, QDialog& window) {
  panel_ = &panel;
  window_ = &window;
}

MessageAnswer QtHost::ShowMessage(std::string_view text, MessageButtons buttons) {
  const bool withCancel = buttons != MessageButtons::kOk;
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationName), FromCore(text),
                  withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(buttons == MessageButtons::kOkCancelDefaultCancel ? QMessageBox::Cancel
                                                                         : QMessageBox::Ok);
  // Escape and the close box answer Cancel where there is one.
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
  const int answer = box.exec();
  return answer == QMessageBox::Ok ? MessageAnswer::kOk : MessageAnswer::kCancel;
}

void QtHost::ShowMessageLater(std::string_view text) {
  laterTexts_.emplace_back(text);
  later_.start();
}

namespace {

// The file type of the suggested name first, then everything.
QString SaveFiltersFor(const QString& suggestedName) {
  const QString all = QStringLiteral("All files (*)");
  if (suggestedName.endsWith(QStringLiteral(".csv"))) return "CSV files (*.csv);;" + all;
  if (suggestedName.endsWith(QStringLiteral(".zip"))) return "Zip archives (*.zip);;" + all;
  if (suggestedName.endsWith(QStringLiteral(".brumo"))) return "Settings files (*.brumo);;" + all;
  return "Text files (*.txt);;" + all;
}

}  // namespace

std::optional<std::string> QtHost::AskSavePath(std::string_view suggestedName) {
  // No default suffix: a name is used as typed. Qt asks before overwriting a file.
  const QString suggested = QDir::current().filePath(FromCore(suggestedName));
  const QString path =
      QFileDialog::getSaveFileName(window_, QString(), suggested, SaveFiltersFor(suggested));
  if (path.isEmpty()) return std::nullopt;
  return PathToCore(path);
}

std::optional<std::string> QtHost::AskOpenPath(std::string_view extension) {
  const QString path = QFileDialog::getOpenFileName(window_, QString(), QDir::currentPath(),
                                                    SaveFiltersFor(FromCore(extension)));
  if (path.isEmpty()) return std::nullopt;
  return PathToCore(path);
}

int64_t QtHost::CurrentTimeMs() {
  return QDateTime::currentMSecsSinceEpoch();
}

int64_t QtHost::CurrentTime() {
  return static_cast<int64_t>(std::time(nullptr));
}

bool QtHost::OpenDocument(const std::string& path) {
  // The desktop hands a missing file to its opener and still reports success; a
  // missing document must fail here so that the panel offers the folder instead.
  const QString local = PathFromCore(path);
  if (!QFileInfo::exists(local)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

std::string QtHost::CurrentDirectory() {
  return PathToCore(QDir::currentPath());
}

bool QtHost::StartTimer(int id, unsigned periodMs) {
  std::unique_ptr<QTimer>& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
      if (panel_ != nullptr) panel_->OnTimer(id);
    });
  }
  timer->start(static_cast<int>(periodMs));
  return timer->isActive();
}

void QtHost::StopTimer(int id) {
  const auto found = timers_.find(id);
  if (found != timers_.end()) found->second->stop();
}

void QtHost::Note(std::string_view text) {
  std::cerr << kApplicationName << ": " << text << std::endl;
}

void QtHost::ShowPortLine(std::string_view reason, PortLineTone tone) {
  if (!reason.empty()) Note(reason);
  if (portLineView_ != nullptr) portLineView_(FromCore(reason), tone);
}

std::optional<int> QtHost::AskChoice(std::string_view question,
                                     const std::vector<std::string>& options) {
  QStringList items;
  for (const std::string& option : options) items.append(FromCore(option));
  bool chosen = false;
  const QString item = QInputDialog::getItem(window_, QString::fromLatin1(kApplicationName),
                                             FromCore(question), items, 0, false, &chosen);
  if (!chosen) return std::nullopt;
  return static_cast<int>(items.indexOf(item));
}

void QtHost::EndDialog(int result) {
  if (window_ != nullptr) window_->done(result);
}
