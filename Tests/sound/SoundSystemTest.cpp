// SPDX-License-Identifier: GPL-3.0-or-later
// What actually comes out of the mixer, read back through SDL's disk audio driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <thread>

#include "SoundTestSupport.h"
#include "sound/SoundSystem.h"

using namespace soundtest;
using namespace std::chrono_literals;

namespace {

constexpr size_t kRate = 44100;

// The mixer scales a sample by the channel volume (0..128) with integer division.
int16_t Scaled(int16_t s, int mixVolume) {
  return static_cast<int16_t>(s * mixVolume / 128);
}

class DiskOutput : public ::testing::Test {
 protected:
  TTempDir dir;
  std::filesystem::path raw = dir.path / "out.raw";
  TSoundSystem sound;
  TStreamHandle track = 0;
  std::vector<int16_t> pcm;  // the decoded track
  std::vector<int16_t> out;  // what the device received, filled by Finish()
  size_t frames = 0;
  size_t ch = 2;

  void Open(const std::string& file, const std::string& delayMs = {}) {
    UseDriver("disk", raw.string(), delayMs);
    ASSERT_TRUE(sound.Init());
    ASSERT_TRUE(sound.Start());
    track = sound.StreamCreateFile((BuiltMusic() / file).string());
    ASSERT_NE(track, 0u);
    ch = static_cast<size_t>(sound.OutputChannels());
    frames = sound.StreamFrames(track);
    const int16_t* s = sound.StreamSamples(track);
    pcm.assign(s, s + frames * ch);
  }
  void Finish() {
    sound.Free();
    out = ReadPcm(raw);
  }
  // Waits until the track has been mixed for `seconds` since it last started (the output of a
  // busy machine may lag behind the clock; the played frames do not).
  void WaitPlayed(double seconds) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (sound.PlayedFrames(track) < seconds * kRate &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(5ms);
  }
  // Waits until the device has written `seconds` more of output.
  void WaitOutput(double seconds) {
    auto size = [&] {
      std::error_code ec;
      auto n = std::filesystem::file_size(raw, ec);
      return ec ? 0 : n;
    };
    auto target = size() + static_cast<uintmax_t>(seconds * kRate * 4);
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (size() < target && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(10ms);
  }
  size_t OutFrames() const { return out.size() / ch; }

  bool FrameMatches(size_t at, size_t from, int mixVolume) const {
    for (size_t c = 0; c < ch; ++c)
      if (out[at * ch + c] != Scaled(pcm[(from % frames) * ch + c], mixVolume)) return false;
    return true;
  }
  // How many output frames from `at` on are the track from frame `from` on (wrapping round).
  size_t Run(size_t at, size_t from, int mixVolume = 128) const {
    size_t n = 0;
    while (at + n < OutFrames() && FrameMatches(at + n, from + n, mixVolume)) ++n;
    return n;
  }
  // The first output frame at or after `from` where the track sounds from its beginning.
  size_t FindStart(size_t from, int mixVolume = 128) const {
    for (size_t at = from; at < OutFrames(); ++at)
      if (Run(at, 0, mixVolume) >= 1000) return at;
    return SIZE_MAX;
  }
  bool SilentFrom(size_t at) const {
    return std::all_of(out.begin() + static_cast<std::ptrdiff_t>(at * ch), out.end(),
                       [](int16_t s) { return s == 0; });
  }
  double Rms(size_t at, size_t n) const {
    double sum = 0;
    for (size_t i = at * ch; i < (at + n) * ch; ++i) sum += double(out[i]) * out[i];
    return std::sqrt(sum / double(n * ch));
  }
};

TEST_F(DiskOutput, TrackSoundsUntilStoppedThenSilence) {
  Open("Title.mp3");
  ASSERT_TRUE(sound.StreamPlay(track, true));
  WaitPlayed(0.4);
  EXPECT_TRUE(sound.IsPlaying(track));
  EXPECT_TRUE(sound.ChannelStop(track));
  EXPECT_FALSE(sound.IsPlaying(track));
  WaitOutput(0.25);
  Finish();

  size_t start = FindStart(0);
  ASSERT_NE(start, SIZE_MAX) << "the track never reached the output";
  size_t played = Run(start, 0);
  EXPECT_GE(played, kRate / 4);
  EXPECT_GT(Rms(start, played), 300.0) << "real sound, not near-silence";
  EXPECT_TRUE(SilentFrom(start + played)) << "after the stop nothing may sound";
  EXPECT_GE(OutFrames() - (start + played), kRate / 10);
}

TEST_F(DiskOutput, VolumeScalesAmplitudeLinearly) {
  Open("InGame.mp3");
  sound.SetStreamVolume(100);
  ASSERT_TRUE(sound.StreamPlay(track, true));
  WaitPlayed(0.3);
  sound.SetStreamVolume(50);
  WaitPlayed(0.6);
  sound.SetStreamVolume(0);
  WaitPlayed(0.9);
  EXPECT_TRUE(sound.IsPlaying(track)) << "volume 0 mutes, it does not stop";
  Finish();

  size_t start = FindStart(0);
  ASSERT_NE(start, SIZE_MAX);
  size_t full = Run(start, 0, 128);
  ASSERT_GE(full, kRate / 5);
  // The track goes on at half the amplitude...
  size_t half = Run(start + full, full, 64);
  ASSERT_GE(half, kRate / 5);
  double ratio = Rms(start + full, half) / [&] {
    double sum = 0;
    for (size_t i = full * ch; i < (full + half) * ch; ++i) sum += double(pcm[i]) * pcm[i];
    return std::sqrt(sum / double(half * ch));
  }();
  EXPECT_NEAR(ratio, 0.5, 0.01);
  // ...and at 0 it is silent.
  EXPECT_TRUE(SilentFrom(start + full + half));
  EXPECT_GE(OutFrames() - (start + full + half), kRate / 5);
}

TEST_F(DiskOutput, RestartBeginsAgainWhileGoOnContinues) {
  Open("Title.mp3");
  ASSERT_TRUE(sound.StreamPlay(track, true));
  WaitPlayed(0.25);
  ASSERT_TRUE(sound.StreamPlay(track, false));  // goes on
  WaitPlayed(0.5);
  ASSERT_TRUE(sound.StreamPlay(track, true));  // from the top
  WaitPlayed(0.25);
  sound.ChannelStop(track);
  Finish();

  size_t start = FindStart(0);
  ASSERT_NE(start, SIZE_MAX);
  size_t first = Run(start, 0);
  EXPECT_GE(first, kRate * 4 / 10) << "go-on must not have started the track again";
  size_t again = Run(start + first, 0);
  EXPECT_GE(again, kRate / 6) << "after the restart the track begins from its first frame";
}

// The disk driver is run fast here, so a whole pass of the shortest track takes under a second.
TEST_F(DiskOutput, LoopsEndlesslyWithoutGap) {
  Open("About.mp3", "1");
  ASSERT_TRUE(sound.StreamPlay(track, true));
  auto deadline = std::chrono::steady_clock::now() + 30s;
  while (sound.PlayedFrames(track) < frames + kRate && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(sound.IsPlaying(track));
  sound.ChannelStop(track);
  Finish();

  size_t start = FindStart(0);
  ASSERT_NE(start, SIZE_MAX);
  // The last frame of the track is followed at once by its first one.
  EXPECT_GE(Run(start, 0), frames + kRate / 2);
}

TEST(SoundSystem, UnknownStreamsAndClosedDeviceAreRefusedQuietly) {
  TSoundSystem sound;
  EXPECT_FALSE(sound.Start());
  EXPECT_EQ(sound.StreamCreateFile((BuiltMusic() / "Title.mp3").string()), 0u);
  EXPECT_FALSE(sound.StreamPlay(1, true));
  EXPECT_FALSE(sound.ChannelStop(0));
  sound.SetStreamVolume(250);  // clamped, kept for later
  EXPECT_EQ(sound.StreamVolume(), 100);
  UseDriver("dummy");
  ASSERT_TRUE(sound.Init());
  EXPECT_FALSE(sound.StreamPlay(7, true));
  EXPECT_FALSE(sound.ChannelStop(7));
  sound.Stop();
  sound.Free();
  sound.Free();
}

}  // namespace
