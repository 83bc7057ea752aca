#include "audio/audio_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "core/testing/test_paths.h"

namespace luma::audio {
namespace {

using luma::testing::ReadFile;
using luma::testing::TempDir;
using luma::testing::WriteFile;

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

void PutBe(std::string& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A mono 16-bit PCM wave of a square tone.
std::string SquareWave(int rate, int milliseconds) {
  std::string samples;
  const int count = rate * milliseconds / 1000;
  for (int i = 0; i < count; ++i) {
    const int16_t v = (i / (rate / 880)) % 2 ? 12000 : -12000;
    PutLe(samples, static_cast<uint16_t>(v), 2);
  }
  std::string wav = "RIFF";
  PutLe(wav, 36 + static_cast<uint32_t>(samples.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);  // PCM
  PutLe(wav, 1, 2);  // mono
  PutLe(wav, rate, 4);
  PutLe(wav, rate * 2, 4);
  PutLe(wav, 2, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, static_cast<uint32_t>(samples.size()), 4);
  return wav + samples;
}

// A one-track standard MIDI file holding one piano chord of about 400 ms.
std::string ShortMidi() {
  std::string track;
  const unsigned char events[] = {
      0x00, 0xC0, 0x00,                                                      // piano
      0x00, 0x90, 60,   100,  0x00, 0x90, 64,   100, 0x00, 0x90, 67,   100,  // chord on
      0x83, 0x10, 0x80, 60,   0,    0x00, 0x80, 64,  0,    0x00, 0x80, 67,
      0,                       // off 400 ticks later
      0x00, 0xFF, 0x2F, 0x00,  // end of track
  };
  track.assign(reinterpret_cast<const char*>(events), sizeof(events));
  std::string midi = "MThd";
  PutBe(midi, 6, 4);
  PutBe(midi, 0, 2);    // format 0
  PutBe(midi, 1, 2);    // one track
  PutBe(midi, 480, 2);  // ticks per quarter note at the default 120 bpm: 1 tick ~ 1 ms
  midi += "MTrk";
  PutBe(midi, static_cast<uint32_t>(track.size()), 4);
  return midi + track;
}

// Loudest absolute 16-bit sample of the raw output the disk driver wrote.
int PeakOf(const std::string& raw) {
  int peak = 0;
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    int16_t v;
    std::memcpy(&v, raw.data() + i, 2);
    peak = std::max(peak, std::abs(static_cast<int>(v)));
  }
  return peak;
}

// Plays through SDL's disk audio driver, which writes the mixed output to a file.
class AudioPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
  std::string output_path() const { return (dir_ / "out.raw").string(); }

  // Waits while `playing` holds (at most a few seconds), then lets the
  // device write a little more and closes it so the file is complete.
  template <typename Pred>
  void Drain(AudioPlayer& player, Pred playing, int min_ms) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
      return std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start)
          .count();
    };
    while ((playing() || elapsed() < min_ms) && elapsed() < 5000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    player.Close();
  }

  TempDir dir_;
};

TEST_F(AudioPlayerTest, SoundReachesTheDeviceAndMutedSoundIsSilent) {
  const auto wav = dir_ / "tone.wav";
  WriteFile(wav, SquareWave(22050, 300));

  AudioPlayer player;
  ASSERT_TRUE(player.Open());
  player.PlaySound(wav.string());
  EXPECT_TRUE(player.IsSoundPlaying());
  Drain(
      player, [&] { return player.IsSoundPlaying(); }, 300);
  EXPECT_GT(PeakOf(ReadFile(output_path())), 4000);

  std::filesystem::remove(output_path());
  AudioPlayer muted;
  muted.SetSoundEnabled(false);
  ASSERT_TRUE(muted.Open());
  muted.PlaySound(wav.string());
  EXPECT_FALSE(muted.IsSoundPlaying());
  Drain(
      muted, [] { return false; }, 300);
  const std::string raw = ReadFile(output_path());
  EXPECT_FALSE(raw.empty());
  EXPECT_EQ(PeakOf(raw), 0);
}

TEST_F(AudioPlayerTest, NewSoundCutsThePreviousOneAndEmptyNameLeavesItAlone) {
  const auto long_wav = dir_ / "long.wav";
  const auto short_wav = dir_ / "short.wav";
  WriteFile(long_wav, SquareWave(22050, 3000));
  WriteFile(short_wav, SquareWave(22050, 100));

  AudioPlayer player;
  ASSERT_TRUE(player.Open());
  player.PlaySound(long_wav.string());
  player.PlaySound("");
  EXPECT_TRUE(player.IsSoundPlaying());
  player.PlaySound(short_wav.string());
  // Only the short effect is left: it ends long before the long one would.
  const auto start = std::chrono::steady_clock::now();
  while (player.IsSoundPlaying() &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));

  // A file the mixer cannot decode plays nothing, and still cuts the previous effect.
  player.PlaySound(long_wav.string());
  const auto junk = dir_ / "junk.wav";
  WriteFile(junk, "not a wave at all");
  player.PlaySound(junk.string());
  EXPECT_FALSE(player.IsSoundPlaying());
  player.PlaySound((dir_ / "missing.wav").string());
  EXPECT_FALSE(player.IsSoundPlaying());
}

TEST_F(AudioPlayerTest, MidiMusicPlaysOnceThroughTheSoundFontAndMutingStopsIt) {
  if (AudioPlayer::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const auto mid = dir_ / "chord.mid";
  WriteFile(mid, ShortMidi());

  AudioPlayer player;
  ASSERT_TRUE(player.Open());
  player.PlayMusic(mid.string());
  ASSERT_TRUE(player.IsMusicPlaying());
  // Once the synthesiser is ready, listen for a fixed time: it keeps the
  // stream open for a while after the last note.
  const auto start = std::chrono::steady_clock::now();
  while (player.IsMusicLoading() &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(player.IsMusicPlaying());
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  player.Close();
  EXPECT_GT(PeakOf(ReadFile(output_path())), 500);

  std::filesystem::remove(output_path());
  AudioPlayer muted;
  muted.SetMusicEnabled(false);
  ASSERT_TRUE(muted.Open());
  muted.PlayMusic(mid.string());
  EXPECT_FALSE(muted.IsMusicPlaying());
  Drain(
      muted, [] { return false; }, 300);
  EXPECT_EQ(PeakOf(ReadFile(output_path())), 0);

  // Switching music off stops what plays; an empty name stops it too.
  AudioPlayer again;
  again.PlayMusic(mid.string());
  ASSERT_TRUE(again.IsMusicPlaying());
  again.SetMusicEnabled(false);
  EXPECT_FALSE(again.IsMusicPlaying());
  again.SetMusicEnabled(true);
  again.PlayMusic(mid.string());
  ASSERT_TRUE(again.IsMusicPlaying());
  again.PlayMusic("");
  EXPECT_FALSE(again.IsMusicPlaying());
  // A piece stopped while it was being prepared never starts later.
  again.Close();
  EXPECT_FALSE(again.IsMusicPlaying());
}

TEST(AudioPlayerWithoutDevice, EverythingIsSilentAndHarmless) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  AudioPlayer player;
  EXPECT_FALSE(player.Open());
  player.PlaySound("/nonexistent.wav");
  player.PlayMusic("/nonexistent.mid");
  player.StopMusic();
  player.StopSound();
  EXPECT_FALSE(player.IsSoundPlaying());
  EXPECT_FALSE(player.IsMusicPlaying());
  EXPECT_FALSE(player.Open());
  unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace luma::audio
