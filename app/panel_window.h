#pragma once

#include <QDialog>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/dialog_units.h"
#include "app/live_readouts.h"
#include "state/control_model.h"

class CKeloConfigurationDlg;
class LinkStatusBar;
class PortPicker;
class QComboBox;
class QMenu;
class QScrollArea;

// The panel's window: a view of the panel's control model. It builds every control
// of the template at its place, mirrors every change of the model into the widgets
// (signals blocked, so no operator handler runs) and turns the operator's own events
// into the panel's handlers.
class PanelWindow : public QDialog, private ControlObserver {
  Q_OBJECT

 public:
  explicit PanelWindow(CKeloConfigurationDlg& panel, QWidget* parent = nullptr);
  ~PanelWindow() override;

  // The window's steps of start-up (title, window menu, icon), then the panel's own.
  void InitDialog();
  // Start-up, then the modal run; gives the result the panel ended it with.
  int DoModal();

  // The widget of a control by ID; null for an ID not on the panel.
  QWidget* Control(int id) const;
  // Every control of the template in table order, labels and group boxes included.
  const std::vector<QWidget*>& ControlWidgets() const { return widgets_; }
  DialogBaseUnits BaseUnits() const { return base_; }

  // The panel's window menu: the About entry, then the status bar's commands.
  void PopulateWindowMenu(QMenu& menu) const;
  void ShowAbout();
  // What the window adds beside the port number.
  PortPicker& portPicker() const { return *portPicker_; }
  // The port number's tooltip names the device it selects.
  void RefreshPortToolTip();
  // The strip under the panel's template.
  LinkStatusBar& statusBar() const { return *statusBar_; }
  // The live readouts dimmed while they are not current (the link not live, or Get All
  // reading the log in place of the poll passes), or brought back.
  void DimStaleReadouts();

 protected:
  void accept() override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildControls();
  void SetTabOrder() const;
  // The message map (app/message_map.cpp).
  void ConnectOperatorEvents();
  void ConnectButton(int id, QWidget* widget);
  void ConnectEdit(int id, QWidget* widget);
  void ConnectCombo(int id, QWidget* widget);
  void PlaceFormInScrollArea();
  void AddStatusBar();
  void FitTheScreen();
  // The model as it is when the window is built (app/panel_mirror.cpp).
  void ShowModelState();

  // ControlObserver (app/panel_mirror.cpp).
  void TextChanged(int id, const std::string& text) override;
  void CheckChanged(int id, int check) override;
  void SelectionChanged(int id, int index) override;
  void ComboEntriesChanged(int id) override;
  void ProgressChanged(int id, int position) override;
  void LineAdded(int id, const std::string& line) override;
  void ListCleared(int id) override;
  void TopIndexChanged(int id, int index) override;
  void TextSelectedAll(int id) override;
  void FocusRequested(int id) override;
  void MirrorCombo(int id, QComboBox* combo);
  void StatusLineChanged();

  CKeloConfigurationDlg& panel_;
  ControlModel& model_;
  DialogBaseUnits base_{};
  // The original panel's controls, at their template places. A child of the window from
  // the start, so that Exit becomes the window's default button as it is made.
  QWidget* form_;
  QScrollArea* scroll_ = nullptr;
  std::vector<QWidget*> widgets_;
  std::unordered_map<int, QWidget*> byId_;
  PortPicker* portPicker_ = nullptr;
  LinkStatusBar* statusBar_ = nullptr;
  LiveReadouts readouts_{*this, model_};
};
