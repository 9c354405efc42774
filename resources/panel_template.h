#pragma once

#include <span>
#include <string_view>

// The panel's dialog template as data: every control with its kind, caption,
// rectangle in dialog units and visibility. The state model and the Qt view are
// both built from it.

enum class ControlKind {
  kPushButton,
  kDefaultPushButton,
  kIndicator,  // radio-style mark that only the program changes
  kCheckBox,
  kEdit,
  kCombo,  // editable drop-down; the height includes the dropped-down list
  kListBox,
  kProgressBar,
  kStatic,
  kGroupBox,
};

struct DialogRect {
  int x;
  int y;
  int width;
  int height;
};

// Controls without an ID (labels and group boxes) carry kNoControlId.
inline constexpr int kNoControlId = -1;

struct ControlSpec {
  int id;
  ControlKind kind;
  std::string_view caption;
  DialogRect rect;
  bool shown;
  bool enabled;
};

struct ComboListSpec {
  int comboId;
  std::span<const std::string_view> entries;
};

struct DialogTemplate {
  std::string_view title;
  std::string_view fontName;
  int fontPointSize;
  int width;
  int height;
};

// Template 102, the panel.
const DialogTemplate& PanelDialogTemplate();
std::span<const ControlSpec> PanelControls();
// Shown controls that take the focus, in the operator's tab order.
std::span<const int> PanelTabOrder();
// Filled when the window is created, in this order (index 0 first).
std::span<const ComboListSpec> PanelComboLists();

// Template 100, the About box.
const DialogTemplate& AboutDialogTemplate();
std::span<const ControlSpec> AboutControls();

// String 101, the About entry of the window menu.
inline constexpr std::string_view kAboutMenuText = "&About Kelo Configuration...";
inline constexpr std::string_view kPanelTitle = "Brumo Configuration 1v2";
