#pragma once

class ControlModel;
class PanelWindow;

// The panel's live readouts: the FOG STATUS indicators, the telemetry lines, mains,
// output and the clock line. While the link is not live they are drawn dimmed, so that
// a value left over from the last reply does not pass for a current one. View only: the
// model's texts and enabled flags stay as they are.
class LiveReadouts {
 public:
  LiveReadouts(const PanelWindow& window, const ControlModel& model);

  // Dims the readouts when the link is not live, or brings them back. Until the link
  // has been live once the readouts hold the template's blanks, which are not stale.
  void Show(bool live);
  bool dimmed() const { return dimmed_; }

 private:
  const PanelWindow& window_;
  const ControlModel& model_;
  bool everLive_ = false;
  bool dimmed_ = false;
};
