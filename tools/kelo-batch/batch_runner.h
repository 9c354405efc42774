#pragma once

#include <functional>
#include <vector>

#include "batch_script.h"

class BatchHost;
class CKeloConfigurationDlg;
class Trace;

// Runs the panel as at dialog initialisation, delivers the link and connect ticks on
// their periods, and performs each action after its link tick; ends as the dialog's
// destruction does.
class BatchRunner {
 public:
  // Waits until the host's clock reads the given milliseconds.
  using SleepUntil = std::function<void(long long ms)>;

  // Told after each tick (with no action) and after each action performed.
  using StepDone = std::function<void(const Action* performed)>;

  BatchRunner(CKeloConfigurationDlg& panel, BatchHost& host, Trace& trace, SleepUntil sleepUntil);
  void Run(const std::vector<Action>& actions);
  void OnEachStep(StepDone stepDone) { stepDone_ = std::move(stepDone); }

 private:
  // False when the run is to end.
  bool Perform(const Action& action);

  CKeloConfigurationDlg& panel_;
  BatchHost& host_;
  Trace& trace_;
  SleepUntil sleepUntil_;
  StepDone stepDone_ = [](const Action*) {};
};
