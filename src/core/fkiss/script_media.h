#ifndef LUMA_CORE_FKISS_SCRIPT_MEDIA_H_
#define LUMA_CORE_FKISS_SCRIPT_MEDIA_H_

#include <string>

namespace luma {

class DollModel;
class Host;
class ScriptView;

// What sound, music and shell do for a script: play the doll's external
// files through the Host and open web or mail links with the user's leave.
class ScriptMedia {
 public:
  struct Options {
    bool sound = true;
    bool music = true;
    int shell_permission = 1;  // 0 never, 1 ask, 2 always
  };

  ScriptMedia(const DollModel& doll, Host& host, ScriptView& view, Options options)
      : doll_(doll), host_(host), view_(view), options_(options) {}

  // A new sound cuts the previous one off; an unknown or missing file does nothing.
  void PlaySoundFile(int index);
  // Replaces the music; index -1 (an empty name) only stops it.
  void PlayMusicFile(int index);
  void StopMusic();
  // Cuts a playing sound off (the script starts again).
  void StopSound();
  // mailto:, http: and https: links only, as "Shell Permission" allows.
  void OpenShellLink(const std::string& text);

  // The user changed the settings while the script runs.
  void set_options(const Options& options) { options_ = options; }
  const Options& options() const { return options_; }

 private:
  const std::string* AvailablePath(int index) const;

  const DollModel& doll_;
  Host& host_;
  ScriptView& view_;
  Options options_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_SCRIPT_MEDIA_H_
