#ifndef LUMA_CORE_HOST_HOST_H_
#define LUMA_CORE_HOST_HOST_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/host/file_system.h"

namespace luma {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

// Everything the engine needs from the user and the platform. The desktop
// application implements it with dialogs, a real clock and the mixer; the
// command-line tool answers non-interactively; tests script it (FakeHost).
// Calls happen on the one thread that drives the engine.
class Host {
 public:
  virtual ~Host() = default;

  // A message box. Captions and texts are the program's own words.
  virtual void ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) = 0;
  // A question; returns the button pressed (kCancel when the box is closed).
  virtual Answer Ask(std::string_view caption, std::string_view text, Buttons buttons,
                     MessageIcon icon) = 0;
  // Choose one item of a list; returns its index, or -1 when cancelled.
  virtual int Choose(std::string_view caption, std::string_view prompt,
                     const std::vector<std::string>& items) = 0;

  // The modeless progress window used by loading and closing a doll.
  virtual void ProgressShow(std::string_view caption) = 0;
  virtual void ProgressStatus(std::string_view text) = 0;
  virtual void ProgressRange(int count) = 0;
  virtual void ProgressPosition(int position) = 0;
  virtual void ProgressHide() = 0;

  // A monotonic millisecond clock; wraps after about 49 days.
  virtual uint32_t Milliseconds() = 0;
  // Blocks the calling thread; for short effects drawn frame by frame on the
  // user-interface thread (flashing an object). Hosts with a clock of their
  // own let it run on instead.
  virtual void Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  // Random numbers 0..32767 from a generator seeded once per run.
  virtual int Random() = 0;

  // Sound effects cut off the previous effect; music plays once.
  // Both are silent and harmless without an audio device.
  virtual void PlaySound(const std::string& path) = 0;
  virtual void PlayMusic(const std::string& path) = 0;
  virtual void StopSound() = 0;
  virtual void StopMusic() = 0;
  // Hands a web link or document to the desktop; false when that failed.
  virtual bool OpenLink(const std::string& target) = 0;

  // The per-user data folder (pool data, thumbnails) and the temporary folder,
  // both without a trailing separator.
  virtual std::string DataFolder() = 0;
  virtual std::string TempFolder() = 0;
  // Where every file the engine reads or writes lives: the disk on the
  // desktop, memory in the web page and in tests that want a full disk.
  virtual FileSystem& Files() = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_HOST_H_
