#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_clock.h"

class Profile;

// An OK box, or an OK/Cancel box whose default button (the one Enter presses) is OK or,
// where a slip of the key would lose something, Cancel.
enum class MessageButtons { kOk, kOkCancel, kOkCancelDefaultCancel };
enum class MessageAnswer { kOk, kCancel };
// How the line beside the port number reads: a problem (the port cannot be opened, a
// search that found nothing), news of a search under way, or the machine found.
enum class PortLineTone { kProblem, kNews, kFound };

// What the framework gives the panel. The Qt application implements it with real
// dialogs and timers; tests and the headless panel with scripted answers. The link's
// clock is the host's, so tests move time by hand.
class Host : public LinkClock {
 public:
  ~Host() override = default;

  // A modal message box titled with the application's name; "\n" breaks lines.
  virtual MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons) = 0;
  // The same OK box, shown from the event loop once the tick that asks for it has
  // returned: a box opened inside a tick would let the ticks behind it run the link
  // while that tick is half done.
  virtual void ShowMessageLater(std::string_view text) = 0;
  // The save-file dialog (asks before overwriting, adds no extension, offers text
  // files), with a file name suggested. Nothing when the operator cancels.
  virtual std::optional<std::string> AskSavePath(std::string_view suggestedName) = 0;
  // The open-file dialog, offering the files whose names end in `extension` first.
  // Nothing when the operator cancels.
  virtual std::optional<std::string> AskOpenPath(std::string_view extension) = 0;
  // Seconds since 1970-01-01 00:00:00 UTC.
  virtual int64_t CurrentTime() = 0;
  // The same in milliseconds, where the host knows them.
  virtual int64_t CurrentTimeMs() { return CurrentTime() * 1000; }
  virtual Profile& profile() = 0;
  // Opens a document or folder through the desktop; true on success.
  virtual bool OpenDocument(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;
  // Starts a periodic timer that calls the panel's OnTimer(id); false when refused.
  virtual bool StartTimer(int id, unsigned periodMs) = 0;
  virtual void StopTimer(int id) = 0;
  // Ends the modal run of the panel.
  virtual void EndDialog(int result) = 0;
  // Something the operator should know that needs no answer and no window (a setting
  // that could not be saved at exit): said on standard error.
  virtual void Note(std::string_view text) = 0;
  // The line beside the port number: why the port cannot be opened, or what Find
  // machine found; shown at once without a box (and said on standard error). An empty
  // text takes it away.
  virtual void ShowPortLine(std::string_view text, PortLineTone tone) = 0;
  // A choice among options (the machine answered on several ports): the index chosen,
  // nothing when the operator declines.
  virtual std::optional<int> AskChoice(std::string_view question,
                                       const std::vector<std::string>& options) = 0;
};
