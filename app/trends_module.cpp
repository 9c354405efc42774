// The Trends module's one entry, which the status bar finds by its name.

#include "app/trends_view.h"
#include "app/trends_window.h"

extern "C" __attribute__((visibility("default"))) TrendsView* kelo_open_trends(
    const TelemetryRing* ring, const PollInterruptions* interruptions,
    const TrendsView::Clock* nowMs, QWidget* parent) {
  auto* window = new TrendsWindow(*ring, *interruptions, parent);
  window->SetClock(*nowMs);
  return window;
}
