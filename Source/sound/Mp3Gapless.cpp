// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/Mp3Gapless.h"

#include <fstream>
#include <vector>

namespace {

// The decoder's own latency that gapless players add to the encoder delay.
constexpr uint32_t kDecoderDelay = 529;

uint32_t Be32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

bool ReadMp3Gapless(const std::string& path, TMp3Gapless& info) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> head(65536);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  return ParseMp3Gapless(head.data(), static_cast<size_t>(in.gcount()), info);
}

bool ParseMp3Gapless(const unsigned char* data, size_t size, TMp3Gapless& info) {
  size_t at = 0;
  if (size >= 10 && data[0] == 'I' && data[1] == 'D' && data[2] == '3') {  // skip an ID3v2 tag
    at = 10 + (size_t(data[6] & 0x7F) << 21 | size_t(data[7] & 0x7F) << 14 |
               size_t(data[8] & 0x7F) << 7 | size_t(data[9] & 0x7F));
    if (data[5] & 0x10) at += 10;
  }
  if (at + 4 > size || data[at] != 0xFF || (data[at + 1] & 0xE0) != 0xE0) return false;
  const int version = (data[at + 1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  const int layer = (data[at + 1] >> 1) & 3;    // 1 = Layer III
  const int rateIndex = (data[at + 2] >> 2) & 3;
  if (version == 1 || layer != 1 || rateIndex == 3) return false;
  static const uint32_t rates[3] = {44100, 48000, 32000};
  const bool mono = ((data[at + 3] >> 6) & 3) == 3;
  const bool mpeg1 = version == 3;
  size_t tag = at + 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
  if (tag + 120 + 24 > size) return false;
  const unsigned char* t = data + tag;
  bool xing = t[0] == 'X' && t[1] == 'i' && t[2] == 'n' && t[3] == 'g';
  bool infoTag = t[0] == 'I' && t[1] == 'n' && t[2] == 'f' && t[3] == 'o';
  if (!xing && !infoTag) return false;
  const uint32_t flags = Be32(t + 4);
  if (!(flags & 1)) return false;  // no frame count
  size_t p = 8;
  info.frames = Be32(t + p);
  p += 4;
  if (flags & 2) p += 4;
  if (flags & 4) p += 100;
  if (flags & 8) p += 4;
  if (!(t[p] == 'L' && t[p + 1] == 'A' && t[p + 2] == 'M' && t[p + 3] == 'E')) return false;
  const unsigned char* d = t + p + 21;
  info.delay = uint32_t(d[0]) << 4 | d[1] >> 4;
  info.padding = uint32_t(d[1] & 0x0F) << 8 | d[2];
  info.samplesPerFrame = mpeg1 ? 1152 : 576;
  info.sampleRate = rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  return info.frames * info.samplesPerFrame > uint64_t(info.delay) + info.padding;
}

void GaplessRange(const TMp3Gapless& info, size_t decodedFrames, size_t& first, size_t& count) {
  first = 0;
  count = decodedFrames;
  const uint64_t full = info.frames * info.samplesPerFrame;
  // Some decoders also return the tag's own frame, as silence, in front.
  uint64_t lead = decodedFrames == full + info.samplesPerFrame ? info.samplesPerFrame : 0;
  if (decodedFrames != full + lead || info.delay + kDecoderDelay + info.Samples() > full) return;
  first = static_cast<size_t>(lead) + info.delay + kDecoderDelay;
  count = static_cast<size_t>(info.Samples());
}
