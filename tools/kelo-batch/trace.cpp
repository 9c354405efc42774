#include "trace.h"

#include <cstdio>

#include "escapes.h"
#include "panel/panel_dialog.h"

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", byte);
    text += hex;
  }
  return text;
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kPushButton:
      return "button";
    case ControlKind::kDefaultPushButton:
      return "default-button";
    case ControlKind::kIndicator:
      return "indicator";
    case ControlKind::kCheckBox:
      return "check";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kCombo:
      return "combo";
    case ControlKind::kListBox:
      return "list";
    case ControlKind::kProgressBar:
      return "progress";
    case ControlKind::kStatic:
      return "static";
    case ControlKind::kGroupBox:
      return "group";
  }
  return "control";
}

std::array<int32_t, 5> ValuesOf(const CKeloConfigurationDlg& panel) {
  std::array<int32_t, 5> values{};
  const auto fields = BoundFields();
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = panel.state().values.*fields[i].value;
  return values;
}

const char* ValueName(std::size_t index) {
  return BoundFields()[index].name;
}

}  // namespace

void Trace::Attach(CKeloConfigurationDlg& panel) {
  panel_ = &panel;
  values_ = ValuesOf(panel);
  panel.controls().Subscribe(this);
}

void Trace::Emit(const std::string& text) {
  out_ << tick_ << ' ' << text << '\n';
}

void Trace::Line(const std::string& text) {
  Flush();
  Emit(text);
}

void Trace::Written(uint8_t byte) {
  if (reading_) FlushBytes();
  written_.push_back(byte);
}

void Trace::Read(int byte) {
  if (!written_.empty()) FlushBytes();
  reading_ = true;
  if (byte >= 0 && byte <= 0xFF) read_.push_back(static_cast<uint8_t>(byte));
}

void Trace::FlushBytes() {
  if (!written_.empty()) Emit("tx" + Hex(written_));
  if (reading_) Emit("rx" + Hex(read_));
  written_.clear();
  read_.clear();
  reading_ = false;
}

void Trace::FlushValues() {
  if (panel_ == nullptr) return;
  const std::array<int32_t, 5> now = ValuesOf(*panel_);
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (now[i] != values_[i]) {
      Emit(std::string("value ") + ValueName(i) + " " + std::to_string(now[i]));
    }
  }
  values_ = now;
}

void Trace::Flush() {
  FlushBytes();
  FlushValues();
  out_.flush();
}

void Trace::TextChanged(int id, const std::string& text) {
  Line("text " + std::to_string(id) + " " + Quote(text));
}

void Trace::CheckChanged(int id, int check) {
  Line("check " + std::to_string(id) + " " + std::to_string(check));
}

void Trace::SelectionChanged(int id, int index) {
  Line("select " + std::to_string(id) + " " + std::to_string(index));
}

void Trace::ProgressChanged(int id, int position) {
  Line("progress " + std::to_string(id) + " " + std::to_string(position));
}

void Trace::LineAdded(int id, const std::string& line) {
  Line("list " + std::to_string(id) + " add " + Quote(line));
}

void Trace::ListCleared(int id) {
  Line("list " + std::to_string(id) + " clear");
}

void Trace::Dump() {
  Flush();
  if (panel_ == nullptr) return;
  for (const ControlState& c : panel_->controls().All()) {
    std::string text =
        "dump control " + std::to_string(c.id) + " " + KindName(c.kind) + " " + Quote(c.text);
    switch (c.kind) {
      case ControlKind::kCheckBox:
      case ControlKind::kIndicator:
        text += " check=" + std::to_string(c.check);
        break;
      case ControlKind::kCombo:
        text += " select=" + std::to_string(c.selection);
        break;
      case ControlKind::kProgressBar:
        text += " progress=" + std::to_string(c.position);
        break;
      case ControlKind::kListBox:
        text += " lines=" + std::to_string(c.lines.size()) + " top=" + std::to_string(c.topIndex);
        break;
      default:
        break;
    }
    if (!c.shown) text += " hidden";
    if (!c.enabled) text += " disabled";
    Emit(text);
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      Emit("dump line " + std::to_string(c.id) + " " + std::to_string(i) + " " + Quote(c.lines[i]));
    }
  }
  const std::array<int32_t, 5> values = ValuesOf(*panel_);
  for (std::size_t i = 0; i < values.size(); ++i) {
    Emit(std::string("dump value ") + ValueName(i) + " " + std::to_string(values[i]));
  }
  out_.flush();
}

bool TracingPort::OpenPort(const std::string& device) {
  trace_.Flush();
  return port_.OpenPort(device);
}

bool TracingPort::ConfigurePort() {
  return port_.ConfigurePort();
}

bool TracingPort::ClosePort() {
  trace_.Flush();
  return port_.ClosePort();
}

bool TracingPort::PurgeTx() {
  trace_.Flush();
  return port_.PurgeTx();
}

bool TracingPort::PurgeRx() {
  trace_.Flush();
  return port_.PurgeRx();
}

bool TracingPort::WritePortByte(int32_t value) {
  const bool taken = port_.WritePortByte(value);
  if (taken) trace_.Written(static_cast<uint8_t>(value & 0xFF));
  return taken;
}

int TracingPort::ReadPortByte() {
  const int byte = port_.ReadPortByte();
  trace_.Read(byte);
  return byte;
}

bool TracingPort::SetBreak() {
  return port_.SetBreak();
}
bool TracingPort::ClearBreak() {
  return port_.ClearBreak();
}
