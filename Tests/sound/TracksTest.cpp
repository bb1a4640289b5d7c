// SPDX-License-Identifier: GPL-3.0-or-later
// The composed tracks as the game decodes them: exact loop length, level, no clipping, no seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "SoundTestSupport.h"
#include "sound/SoundSystem.h"

using namespace soundtest;

namespace {

struct TTrackShape {
  const char* file;
  size_t frames;  // a whole number of bars: the composer's loop, nothing added by the codec
};

void PrintTo(const TTrackShape& t, std::ostream* os) {
  *os << t.file;
}

class Tracks : public ::testing::TestWithParam<TTrackShape> {};

TEST_P(Tracks, DecodeToWholeBarsAtModestLevelWithoutSeam) {
  UseDriver("dummy");
  TSoundSystem sound;
  ASSERT_TRUE(sound.Init());
  TStreamHandle h = sound.StreamCreateFile((BuiltMusic() / GetParam().file).string());
  ASSERT_NE(h, 0u);
  ASSERT_EQ(sound.OutputChannels(), 2);
  const size_t n = sound.StreamFrames(h);
  const int16_t* s = sound.StreamSamples(h);
  // Encoder delay and padding are trimmed by the decoder: the loop has no gap.
  EXPECT_EQ(n, GetParam().frames);
  EXPECT_GE(n, 30u * 44100);
  EXPECT_LE(n, 90u * 44100);

  double sum = 0;
  int peak = 0, largestStep = 0, seamStep = 0;
  for (size_t i = 0; i < 2 * n; ++i) {
    sum += double(s[i]) * s[i];
    peak = std::max(peak, std::abs(int(s[i])));
    if (i >= 2) largestStep = std::max(largestStep, std::abs(s[i] - s[i - 2]));
  }
  for (size_t c = 0; c < 2; ++c) seamStep = std::max(seamStep, std::abs(s[c] - s[2 * (n - 1) + c]));
  double rmsDb = 20 * std::log10(std::sqrt(sum / double(2 * n)) / 32768.0);
  EXPECT_LT(peak, 32767 * 8 / 10) << "headroom: no clipping";
  EXPECT_GT(rmsDb, -26.0);
  EXPECT_LT(rmsDb, -16.0) << "modest loudness";
  // Across the loop point the waveform moves no more than it does anywhere inside.
  EXPECT_LE(seamStep, largestStep / 2);
}

INSTANTIATE_TEST_SUITE_P(Composed, Tracks,
                         ::testing::Values(TTrackShape{"Title.mp3", 16 * 4 * 37800},
                                           TTrackShape{"InGame.mp3", 24 * 4 * 25200},
                                           TTrackShape{"About.mp3", 16 * 4 * 21000}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

TEST(Tracks, AreThreeDifferentPieces) {
  UseDriver("dummy");
  TSoundSystem sound;
  ASSERT_TRUE(sound.Init());
  TStreamHandle title = sound.StreamCreateFile((BuiltMusic() / "Title.mp3").string());
  TStreamHandle game = sound.StreamCreateFile((BuiltMusic() / "InGame.mp3").string());
  ASSERT_NE(title, 0u);
  ASSERT_NE(game, 0u);
  ASSERT_EQ(sound.StreamFrames(title), sound.StreamFrames(game));  // same length, other music
  size_t same = 0, n = 2 * sound.StreamFrames(title);
  for (size_t i = 0; i < n; ++i)
    same += sound.StreamSamples(title)[i] == sound.StreamSamples(game)[i];
  EXPECT_LT(same, n / 10);
}

}  // namespace
