// The panel's window: building the controls, start-up, closing and the window menu.

#include "app/panel_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/accessible_interfaces.h"
#include "app/accessible_names.h"
#include "app/app_icon.h"
#include "app/control_widgets.h"
#include "app/keyboard_paths.h"
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
    : QDialog(parent), panel_(panel), model_(panel.controls()), form_(new QWidget(this)) {
  // Caption, close box and window menu; no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(TemplateFont());
  InstallAccessibleInterfaces();
  base_ = BaseUnitsOf(font());
  const DialogTemplate& form = PanelDialogTemplate();
  form_->setFixedSize(DialogUnitsToPixelsX(form.width, base_),
                      DialogUnitsToPixelsY(form.height, base_));
  PlaceFormInScrollArea();
  BuildControls();
  // Placed by the base units of the font just set, so not in the initializer list.
  portPicker_ = new PortPicker(panel_, *form_, base_);  // NOLINT(*-prefer-member-initializer)
  connect(portPicker_, &PortPicker::portChosen, this, &PanelWindow::RefreshPortToolTip);
  AddStatusBar();
  FitTheScreen();
  SetTabOrder();
  new KeyboardPaths(*this);
  ConnectOperatorEvents();
  // F1 is Help, as the panel's hidden Help button would be.
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { panel_.OnHelpClicked(); });
  ShowModelState();
  model_.Subscribe(this);
}

PanelWindow::~PanelWindow() {
  panel_.OnReadoutsCurrentChanged(nullptr);
  model_.Unsubscribe(this);
}

void PanelWindow::BuildControls() {
  // In table order: the group boxes come first, so they lie beneath their controls.
  ControlMaker maker(base_);
  for (const ControlSpec& entry : PanelControls()) {
    QWidget* widget = maker.Make(entry, form_);
    NameControl(entry.id, *widget);
    widgets_.push_back(widget);
    if (entry.id != kNoControlId) byId_[entry.id] = widget;
  }
}

// The template keeps its size and places in a scroll area that shows no scroll bars
// while the window has room for it. The area takes the form while it is still empty
// and already under the window, so no control is moved to another parent (and its
// font resolved again) after it is made.
void PanelWindow::PlaceFormInScrollArea() {
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  // The controls take the focus, in the template's order; the area only scrolls to them.
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setWidget(form_);
}

// The bar stays under the form, always in sight.
void PanelWindow::AddStatusBar() {
  statusBar_ = new LinkStatusBar(panel_, *this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scroll_, 1);
  layout->addWidget(statusBar_);
  connect(statusBar_, &LinkStatusBar::refreshed, this, &PanelWindow::DimStaleReadouts);
  connect(portPicker_, &PortPicker::portChosen, statusBar_, &LinkStatusBar::DeviceChanged);
  // At the tick that makes the readouts stale or current again, not at the bar's next
  // refresh.
  panel_.OnReadoutsCurrentChanged([this] {
    DimStaleReadouts();
    statusBar_->RefreshSoon();
  });
}

// On a small screen, or at a large scale, the window opens no larger than the screen
// leaves it, and scrolls; it never grows beyond its natural size, which would only add
// blank space.
void PanelWindow::FitTheScreen() {
  const QSize natural(form_->width(), form_->height() + statusBar_->sizeHint().height());
  QSize size = natural;
  if (const QScreen* shown = screen()) {
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize room = shown->availableGeometry().size() - QSize(0, titleBar);
    // Room for the scroll bar of one direction, so that it does not bring the other's.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (size.height() > room.height()) size.rwidth() += bar;
    if (size.width() > room.width()) size.rheight() += bar;
    size = size.boundedTo(room);
  }
  setMaximumSize(size.expandedTo(natural));
  resize(size);
  layout()->activate();
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
  if (QApplication::windowIcon().isNull()) SetAppIconAfterFirstPaint(*form_);
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

void PanelWindow::DimStaleReadouts() {
  readouts_.Show(panel_.ReadoutsCurrent());
}

void PanelWindow::RefreshPortToolTip() {
  if (QWidget* port = Control(ids::kPortEdit)) {
    port->setToolTip(FromCore(panel_.connection().SelectedDevice()));
  }
}
