// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as the head of a music file: the tag reader must stay inside them and give a
// range inside any decoded length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/Mp3Gapless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMp3Gapless g;
  if (!ParseMp3Gapless(data, size, g)) return 0;
  for (size_t decoded : {size_t(g.Samples()), size_t(g.frames * g.samplesPerFrame),
                         size_t((g.frames + 1) * g.samplesPerFrame), size_t(0), size_t(12345)}) {
    size_t first = 0, count = 0;
    GaplessRange(g, decoded, first, count);
    if (first + count > decoded) std::abort();
  }
  return 0;
}
