#ifndef LUMA_AUDIO_AUDIO_PLAYER_H_
#define LUMA_AUDIO_AUDIO_PLAYER_H_

#include <mutex>
#include <string>

struct Mix_Chunk;
struct SDL_Thread;
typedef struct _Mix_Music Mix_Music;

namespace luma::audio {

// Sound effects and music through SDL_mixer. One effect plays at a time (a new
// one cuts the previous one off) and music plays once. The audio device is
// opened on first use; without a device, or with sound or music switched off,
// every call is silent and harmless. Call from one thread.
//
// Music is prepared on a helper thread: the MIDI synthesiser reads its whole
// soundfont for every piece, which takes long enough to stall a window. A
// stop, or another piece, before it is ready discards it.
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
  // True from PlayMusic on while the piece is being prepared or sounds.
  bool IsMusicPlaying() const;
  // True while the piece is being prepared.
  bool IsMusicLoading() const;

  // The General MIDI soundfont used for MIDI: SDL_SOUNDFONTS when set, else
  // the first one found among the Debian soundfont packages' files; empty when none.
  static std::string FindSoundFont();

 private:
  bool open_ = false;
  bool failed_ = false;
  bool sound_enabled_ = true;
  bool music_enabled_ = true;
  void JoinLoader();
  static int LoadMusic(void* player);

  Mix_Chunk* chunk_ = nullptr;
  // Shared with the loader thread.
  mutable std::mutex music_mutex_;
  Mix_Music* music_ = nullptr;
  uint64_t music_generation_ = 0;
  bool music_loading_ = false;
  // Made by SDL, which frees its per-thread state when the thread ends.
  SDL_Thread* loader_ = nullptr;
  std::string loader_path_;
  uint64_t loader_generation_ = 0;
};

}  // namespace luma::audio

#endif  // LUMA_AUDIO_AUDIO_PLAYER_H_
