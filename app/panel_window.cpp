// The panel's window: building the controls, start-up, closing and the window menu.

#include "app/panel_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

#include "app/about_dialog.h"
#include "app/app_icon.h"
#include "app/control_widgets.h"
#include "app/link_status_bar.h"
#include "app/port_picker.h"
#include "app/text_codec.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"

namespace {

QFont TemplateFont() {
  QFont font = QApplication::font();
  font.setPointSize(PanelDialogTemplate().fontPointSize);
  return font;
}

}  // namespace

PanelWindow::PanelWindow(CKeloConfigurationDlg& panel, QWidget* parent)
    : QDialog(parent), panel_(panel), model_(panel.controls()) {
  // Caption, close box and window menu; no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(TemplateFont());
  base_ = BaseUnitsOf(font());
  const DialogTemplate& form = PanelDialogTemplate();
  resize(DialogUnitsToPixelsX(form.width, base_), DialogUnitsToPixelsY(form.height, base_));
  BuildControls();
  // Placed by the base units of the font just set, so not in the initializer list.
  portPicker_ = new PortPicker(panel_, *this, base_);  // NOLINT(*-prefer-member-initializer)
  connect(portPicker_, &PortPicker::portChosen, this, &PanelWindow::RefreshPortToolTip);
  AddStatusBar();
  SetTabOrder();
  ConnectOperatorEvents();
  // F1 is Help, as the panel's hidden Help button would be.
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { panel_.OnHelpClicked(); });
  ShowModelState();
  model_.Subscribe(this);
}

PanelWindow::~PanelWindow() {
  panel_.OnLivenessChanged(nullptr);
  model_.Unsubscribe(this);
}

void PanelWindow::BuildControls() {
  // In table order: the group boxes come first, so they lie beneath their controls.
  for (const ControlSpec& entry : PanelControls()) {
    QWidget* widget = CreateControlWidget(entry, this);
    widget->setGeometry(ControlGeometry(entry, base_));
    widgets_.push_back(widget);
    if (entry.id != kNoControlId) byId_[entry.id] = widget;
  }
}

// Under the template, which keeps its size and places: the window grows by the bar.
void PanelWindow::AddStatusBar() {
  statusBar_ = new LinkStatusBar(panel_, *this);
  statusBar_->setGeometry(0, height(), width(), statusBar_->sizeHint().height());
  resize(width(), height() + statusBar_->height());
  connect(statusBar_, &LinkStatusBar::refreshed, this, &PanelWindow::ShowLinkLiveness);
  connect(portPicker_, &PortPicker::portChosen, statusBar_, &LinkStatusBar::DeviceChanged);
  // At the tick that makes the link stale or live again, not at the bar's next refresh.
  panel_.OnLivenessChanged([this] {
    ShowLinkLiveness();
    statusBar_->RefreshSoon();
  });
}

void PanelWindow::SetTabOrder() const {
  QWidget* previous = nullptr;
  for (int id : PanelTabOrder()) {
    QWidget* widget = Control(id);
    if (widget == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

QWidget* PanelWindow::Control(int id) const {
  const auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second;
}

void PanelWindow::InitDialog() {
  setWindowTitle(FromCore(kPanelTitle));
  // The window menu is the panel's context menu (contextMenuEvent): Linux window
  // managers keep their own window menu closed to applications.
  // The program makes the same icon the application's before the window exists;
  // sharing that one spares decoding the image a second time at start-up.
  const QIcon applicationIcon = QApplication::windowIcon();
  setWindowIcon(applicationIcon.isNull() ? AppIcon() : applicationIcon);
  panel_.OnInitDialog();
  RefreshPortToolTip();
}

int PanelWindow::DoModal() {
  InitDialog();
  return exec();
}

void PanelWindow::accept() {
  panel_.OnOK();
}

// Escape, and the close box through closeEvent.
void PanelWindow::reject() {
  panel_.OnCancel();
}

void PanelWindow::closeEvent(QCloseEvent* event) {
  // The window closes only when the panel ends its run (EndDialog).
  event->ignore();
  panel_.OnCancel();
}

void PanelWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  PopulateWindowMenu(menu);
  menu.exec(event->globalPos());
}

void PanelWindow::PopulateWindowMenu(QMenu& menu) const {
  if (!kAboutMenuText.empty()) {
    QAction* about = menu.addAction(FromCore(kAboutMenuText));
    connect(about, &QAction::triggered, this, &PanelWindow::ShowAbout);
  }
  menu.addSeparator();
  menu.addActions(statusBar_->commands());
}

void PanelWindow::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

void PanelWindow::ShowLinkLiveness() {
  readouts_.Show(panel_.LinkLive());
}

void PanelWindow::RefreshPortToolTip() {
  if (QWidget* port = Control(ids::kPortEdit)) {
    port->setToolTip(FromCore(panel_.connection().SelectedDevice()));
  }
}
