#ifndef LUMA_AUDIO_AUDIO_PLAYER_H_
#define LUMA_AUDIO_AUDIO_PLAYER_H_

#include <string>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace luma::audio {

// Sound effects and music through SDL_mixer. One effect plays at a time (a new
// one cuts the previous one off) and music plays once. The audio device is
// opened on first use; without a device, or with sound or music switched off,
// every call is silent and harmless. Use from one thread.
class AudioPlayer {
 public:
  AudioPlayer();
  ~AudioPlayer();
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  // Opens the device now (otherwise the first play does). Returns whether
  // audio is available; a failed attempt is not repeated.
  bool Open();
  // Stops everything and releases the device; a later play opens it again.
  void Close();

  // Switching sound off cuts the playing effect; switching music off stops the music.
  void SetSoundEnabled(bool enabled);
  void SetMusicEnabled(bool enabled);
  bool sound_enabled() const { return sound_enabled_; }
  bool music_enabled() const { return music_enabled_; }

  // Cuts the playing effect off, then starts the file (WAV or any sample
  // format the mixer decodes). A file that cannot be played plays nothing.
  void PlaySound(const std::string& path);
  void StopSound();
  // Stops the music, then plays the file (MIDI or another music format) once;
  // an empty path only stops the music.
  void PlayMusic(const std::string& path);
  void StopMusic();

  bool IsSoundPlaying() const;
  bool IsMusicPlaying() const;

  // The General MIDI soundfont used for MIDI: SDL_SOUNDFONTS when set, else
  // the first one found among the Debian soundfont packages' files; empty when none.
  static std::string FindSoundFont();

 private:
  bool open_ = false;
  bool failed_ = false;
  bool sound_enabled_ = true;
  bool music_enabled_ = true;
  Mix_Chunk* chunk_ = nullptr;
  Mix_Music* music_ = nullptr;
};

}  // namespace luma::audio

#endif  // LUMA_AUDIO_AUDIO_PLAYER_H_
