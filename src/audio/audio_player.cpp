#include "audio/audio_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>

namespace luma::audio {
namespace {

// Effects always use this one channel, so starting one cuts the previous off.
constexpr int kEffectChannel = 0;

constexpr const char* kSoundFontCandidates[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/soundfonts/default.sf2",
};

}  // namespace

AudioPlayer::AudioPlayer() = default;

AudioPlayer::~AudioPlayer() { Close(); }

std::string AudioPlayer::FindSoundFont() {
  if (const char* env = std::getenv("SDL_SOUNDFONTS"); env && *env) return env;
  for (const char* candidate : kSoundFontCandidates) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

bool AudioPlayer::Open() {
  if (open_) return true;
  if (failed_) return false;
  // The host program owns the process signals.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    failed_ = true;
    return false;
  }
  Mix_Init(MIX_INIT_MID);
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, 2048) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    failed_ = true;
    return false;
  }
  Mix_AllocateChannels(1);
  const std::string font = FindSoundFont();
  if (!font.empty()) Mix_SetSoundFonts(font.c_str());
  open_ = true;
  return true;
}

void AudioPlayer::Close() {
  if (!open_) return;
  StopSound();
  StopMusic();
  JoinLoader();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
}

void AudioPlayer::SetSoundEnabled(bool enabled) {
  sound_enabled_ = enabled;
  if (!enabled) StopSound();
}

void AudioPlayer::SetMusicEnabled(bool enabled) {
  music_enabled_ = enabled;
  if (!enabled) StopMusic();
}

void AudioPlayer::PlaySound(const std::string& path) {
  if (!sound_enabled_ || path.empty() || !Open()) return;
  StopSound();
  chunk_ = Mix_LoadWAV(path.c_str());
  if (chunk_ && Mix_PlayChannel(kEffectChannel, chunk_, 0) < 0) StopSound();
}

void AudioPlayer::StopSound() {
  if (!open_) return;
  Mix_HaltChannel(kEffectChannel);
  if (chunk_) {
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
  }
}

void AudioPlayer::PlayMusic(const std::string& path) {
  if (!music_enabled_) return;
  StopMusic();
  if (path.empty() || !Open()) return;
  JoinLoader();
  uint64_t generation;
  {
    std::lock_guard<std::mutex> lock(music_mutex_);
    generation = music_generation_;
    music_loading_ = true;
  }
  loader_path_ = path;
  loader_generation_ = generation;
  loader_ = SDL_CreateThread(&AudioPlayer::LoadMusic, "luma-music", this);
  if (!loader_) {
    std::lock_guard<std::mutex> lock(music_mutex_);
    music_loading_ = false;
  }
}

int AudioPlayer::LoadMusic(void* data) {
  auto* self = static_cast<AudioPlayer*>(data);
  Mix_Music* music = Mix_LoadMUS(self->loader_path_.c_str());
  std::lock_guard<std::mutex> lock(self->music_mutex_);
  self->music_loading_ = false;
  if (!music) return 0;
  if (self->loader_generation_ != self->music_generation_) {
    Mix_FreeMusic(music);
    return 0;
  }
  self->music_ = music;
  // Zero loops: play through once.
  if (Mix_PlayMusic(music, 0) != 0) {
    Mix_FreeMusic(music);
    self->music_ = nullptr;
  }
  return 0;
}

void AudioPlayer::StopMusic() {
  if (!open_) return;
  std::lock_guard<std::mutex> lock(music_mutex_);
  ++music_generation_;
  music_loading_ = false;
  Mix_HaltMusic();
  if (music_) {
    Mix_FreeMusic(music_);
    music_ = nullptr;
  }
}

void AudioPlayer::JoinLoader() {
  if (!loader_) return;
  SDL_WaitThread(loader_, nullptr);
  loader_ = nullptr;
}

bool AudioPlayer::IsSoundPlaying() const {
  return open_ && chunk_ && Mix_Playing(kEffectChannel) != 0;
}

bool AudioPlayer::IsMusicLoading() const {
  std::lock_guard<std::mutex> lock(music_mutex_);
  return music_loading_;
}

bool AudioPlayer::IsMusicPlaying() const {
  if (!open_) return false;
  std::lock_guard<std::mutex> lock(music_mutex_);
  return music_loading_ || (music_ && Mix_PlayingMusic() != 0);
}

}  // namespace luma::audio
