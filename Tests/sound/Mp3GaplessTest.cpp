// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the codec's delay and padding, and trimming a track a decoder left untrimmed.
#include <gtest/gtest.h>

#include <fstream>

#include "SoundTestSupport.h"
#include "sound/Mp3Gapless.h"

using namespace soundtest;

namespace {

TEST(Mp3Gapless, TagOfTheComposedTracksGivesTheirExactLength) {
  for (auto [file, frames] :
       {std::pair{"Title.mp3", size_t{2419200}}, {"InGame.mp3", 2419200}, {"About.mp3", 1344000}}) {
    TMp3Gapless g;
    ASSERT_TRUE(ReadMp3Gapless((BuiltMusic() / file).string(), g)) << file;
    EXPECT_EQ(g.sampleRate, 44100u);
    EXPECT_EQ(g.samplesPerFrame, 1152u);
    EXPECT_EQ(g.delay, 576u);  // LAME's fixed encoder delay
    EXPECT_EQ(g.Samples(), frames) << file;
  }
}

TEST(Mp3Gapless, FilesWithoutATagAreLeftAlone) {
  TTempDir dir;
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir.path / name, std::ios::binary) << bytes;
    return (dir.path / name).string();
  };
  TMp3Gapless g;
  EXPECT_FALSE(ReadMp3Gapless(write("empty.mp3", ""), g));
  EXPECT_FALSE(ReadMp3Gapless(write("text.mp3", "no audio here, only words"), g));
  EXPECT_FALSE(ReadMp3Gapless((dir.path / "missing.mp3").string(), g));
  // An ID3 header that claims more than the file holds.
  EXPECT_FALSE(
      ReadMp3Gapless(write("id3.mp3", std::string("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10)), g));
  // The first frame of a real track, cut before its tag ends.
  std::ifstream in(BuiltMusic() / "Title.mp3", std::ios::binary);
  std::string head(100, '\0');
  in.read(head.data(), 100);
  EXPECT_FALSE(ReadMp3Gapless(write("cut.mp3", head), g));
}

TEST(Mp3Gapless, RangeTrimsOnlyWhatADecoderLeftIn) {
  TMp3Gapless g;
  g.frames = 100;
  g.samplesPerFrame = 1152;
  g.delay = 576;
  g.padding = 1000;
  const size_t exact = 100 * 1152 - 576 - 1000;
  size_t first = 99, count = 99;
  GaplessRange(g, exact, first, count);  // a gapless decoder: nothing to do
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(count, exact);
  GaplessRange(g, 100 * 1152, first, count);  // every frame in full
  EXPECT_EQ(first, 576u + 529u);
  EXPECT_EQ(count, exact);
  GaplessRange(g, 101 * 1152, first, count);  // and the tag's frame as silence in front
  EXPECT_EQ(first, 1152u + 576u + 529u);
  EXPECT_EQ(count, exact);
  GaplessRange(g, 100 * 1152 - 7, first, count);  // something else: taken as it is
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(count, 100u * 1152 - 7);
  g.padding = 100;  // too little padding to hold the decoder's latency: no guessing
  GaplessRange(g, 100 * 1152, first, count);
  EXPECT_EQ(first, 0u);
}

}  // namespace
