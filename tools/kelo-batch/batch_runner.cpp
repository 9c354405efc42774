#include "batch_runner.h"

#include <algorithm>

#include "batch_host.h"
#include "escapes.h"
#include "panel/operator_events.h"
#include "panel/panel_dialog.h"
#include "panel/service_texts.h"
#include "trace.h"

namespace {

// The next due time of a periodic tick; ticks missed while late are skipped rather
// than delivered in a burst.
long long NextDue(long long due, long long period, long long now) {
  due += period;
  return due <= now ? now + period : due;
}

// What the Compare dialog shows: its headlines as notes, one line per setting that
// differs (name, the machine's value, the file's), and the summary.
void TraceComparison(CKeloConfigurationDlg& panel, Host& host, Trace& trace,
                     const std::string& path) {
  const std::optional<Comparison> comparison = panel.settingsFiles().CompareWithFile(path);
  if (!comparison) return;
  for (const std::string& headline : comparison->headlines) host.Note(headline);
  for (const CompareRow& row : comparison->rows) {
    if (!row.differs) continue;
    trace.Line("setting " + Quote(SettingName(row.setting)) + " " + Quote(row.current) + " " +
               Quote(row.file));
  }
  trace.Line("compare " + Quote(CompareSummary(*comparison)));
}

}  // namespace

BatchRunner::BatchRunner(CKeloConfigurationDlg& panel, BatchHost& host, Trace& trace,
                         SleepUntil sleepUntil)
    : panel_(panel), host_(host), trace_(trace), sleepUntil_(std::move(sleepUntil)) {}

bool BatchRunner::Perform(const Action& action) {
  switch (action.kind) {
    case ActionKind::kClick:
      OperatorClicked(panel_, action.id);
      break;
    case ActionKind::kSet:
      OperatorEdited(panel_, action.id, action.text);
      break;
    case ActionKind::kType: {
      std::string text = panel_.controls().GetText(action.id);
      for (char c : action.text) {
        text += c;
        OperatorEdited(panel_, action.id, text);
        text = panel_.controls().GetText(action.id);
      }
      break;
    }
    case ActionKind::kSelect:
      OperatorSelected(panel_, action.id, action.index);
      break;
    case ActionKind::kEnterText:
      OperatorTypedComboText(panel_, action.id, action.text);
      break;
    case ActionKind::kAnswerOk:
      host_.answers.push_back(MessageAnswer::kOk);
      break;
    case ActionKind::kAnswerCancel:
      host_.answers.push_back(MessageAnswer::kCancel);
      break;
    case ActionKind::kSavePath:
      host_.savePaths.emplace_back(action.text);
      break;
    case ActionKind::kSaveCancel:
      host_.savePaths.emplace_back(std::nullopt);
      break;
    case ActionKind::kDump:
      trace_.Dump();
      break;
    case ActionKind::kRecord:
      panel_.service().StartRecording(action.text);
      break;
    case ActionKind::kRecordStop:
      panel_.service().StopRecording();
      break;
    case ActionKind::kExportCsv:
      panel_.service().ExportCsv(action.text);
      break;
    case ActionKind::kBundle:
      panel_.service().SaveBundle(action.text);
      break;
    case ActionKind::kSaveSettings:
      panel_.settingsFiles().SaveSettingsFile(action.text);
      break;
    case ActionKind::kCompareSettings:
      TraceComparison(panel_, host_, trace_, action.text);
      break;
    case ActionKind::kLoadSettings:
      panel_.settingsFiles().LoadSettings(action.text, action.names);
      break;
    case ActionKind::kQuit:
      return false;
  }
  trace_.Flush();
  stepDone_(&action);
  return !host_.endResult.has_value();
}

void BatchRunner::Run(const std::vector<Action>& actions) {
  panel_.OnInitDialog();
  trace_.Flush();
  auto next = actions.begin();
  bool running = true;
  auto performDue = [&](long tick) {
    while (running && next != actions.end() && next->tick <= tick) running = Perform(*next++);
  };
  performDue(0);

  long long linkDue = kLinkTickMs;
  long long connectDue = kConnectTickMs;
  while (running && next != actions.end()) {
    const bool linkRuns = host_.timers.contains(kLinkTimerId);
    const bool connectRuns = host_.timers.contains(kConnectTimerId);
    if (!linkRuns) {
      // Without the link tick no tick number is ever reached: act at once.
      performDue(next->tick);
      continue;
    }
    const bool linkFirst = !connectRuns || linkDue <= connectDue;
    const long long due = linkFirst ? linkDue : connectDue;
    sleepUntil_(due);
    const long long now = std::max<long long>(host_.ElapsedMs(), due);
    if (linkFirst) {
      trace_.SetTick(trace_.tick() + 1);
      panel_.OnTimer(kLinkTimerId);
      host_.RunEventLoop();
      trace_.Flush();
      stepDone_(nullptr);
      linkDue = NextDue(linkDue, kLinkTickMs, now);
      performDue(trace_.tick());
    } else {
      panel_.OnTimer(kConnectTimerId);
      host_.RunEventLoop();
      trace_.Flush();
      stepDone_(nullptr);
      connectDue = NextDue(connectDue, kConnectTickMs, now);
    }
    running = running && !host_.endResult.has_value();
  }
  trace_.Line("health " + HealthFields(panel_.health(), host_.CurrentTimeMs()));
  panel_.OnDestroy();
  trace_.Flush();
}
