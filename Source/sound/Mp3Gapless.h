// SPDX-License-Identifier: GPL-3.0-or-later
// Encoder delay and padding of an MP3 file, from the LAME tag in its first frame. mpg123 uses
// them to return exactly the encoded samples; with a decoder that does not, the sound layer trims
// the decoded track itself, so a loop never gets a gap of silence at its seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TMp3Gapless {
  uint64_t frames = 0;           // audio frames of the stream (the tag's own frame not counted)
  uint32_t samplesPerFrame = 0;  // 1152 (MPEG-1) or 576
  uint32_t sampleRate = 0;
  uint32_t delay = 0;    // encoder delay, samples at the start
  uint32_t padding = 0;  // samples added at the end
  uint64_t Samples() const { return frames * samplesPerFrame - delay - padding; }
};

// False when the file has no Info/Xing tag with a LAME extension and a frame count.
bool ReadMp3Gapless(const std::string& path, TMp3Gapless& info);
// The same from the first bytes of a file.
bool ParseMp3Gapless(const unsigned char* data, size_t size, TMp3Gapless& info);

// The first frame and the number of frames of the encoded samples within a decoded track of
// `decodedFrames`: when the decoder kept the codec's delay and padding (it returned every frame
// in full), they are cut off here; otherwise the track is taken as it is.
void GaplessRange(const TMp3Gapless& info, size_t decodedFrames, size_t& first, size_t& count);
