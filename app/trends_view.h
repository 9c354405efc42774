#pragma once

#include <cstdint>
#include <functional>

class PollInterruptions;
class QWidget;
class TelemetryRing;

// What the status bar holds of the Trends window, which lives in a module of its own
// (kTrendsModule, with Qt Charts) loaded the first time the window opens. Only virtual
// calls cross into the module, so the program needs none of its symbols.
class TrendsView {
 public:
  // Milliseconds since 1970: the clock the samples are taken on.
  using Clock = std::function<int64_t()>;

  virtual ~TrendsView() = default;
  // The window itself, a child of the parent it was opened with, which owns it.
  virtual QWidget& widget() = 0;
  // A sample went into the ring.
  virtual void SamplesAdded() = 0;

 protected:
  TrendsView() = default;
  TrendsView(const TrendsView&) = default;
  TrendsView& operator=(const TrendsView&) = default;
};

// The module, and the function in it that opens the window over the ring:
//   TrendsView* kelo_open_trends(const TelemetryRing* ring,
//                                const PollInterruptions* interruptions,
//                                const TrendsView::Clock* nowMs, QWidget* parent);
inline constexpr char kTrendsModule[] = "kelo-trends.so";
inline constexpr char kOpenTrendsSymbol[] = "kelo_open_trends";
using OpenTrendsFunction = TrendsView* (*)(const TelemetryRing*, const PollInterruptions*,
                                           const TrendsView::Clock*, QWidget*);
