// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a game record: the reader refuses or accepts without a crash or a hang; what
// it accepts writes and reads back unchanged, replays to any move and back, and continues when
// unfinished, leaving the program's generator as it was.
#include <cstdint>
#include <cstdlib>

#include "model/GameRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SetRandSeed(12345);
  const TRecordRead read = ReadGameRecord(text, "fuzz.morvik");
  if (GetRandSeed() != 12345) abort();
  if (!read.Record) {
    if (read.Error.empty()) abort();
    return 0;
  }
  const TGameRecord& record = *read.Record;
  const TRecordRead again = ReadGameRecord(WriteGameRecord(record), "fuzz.morvik");
  if (!again.Record || !(*again.Record == record)) abort();

  TGameReplay replay(record);
  const size_t n = record.Moves.size();
  for (size_t k : {n, n / 2, size_t(0), n})
    if (!replay.Seek(k) || replay.Position() != k) abort();
  if (record.Finished != replay.Ended()) abort();

  if (!record.Finished) {
    TMorvikMachine machine;
    machine.OnChangeGamer = [](uint8_t) {};
    machine.OnChangeStateColor = [](uint8_t) {};
    if (ContinueGame(machine, record) || !machine.Active || machine.MovesPlayed() != n) abort();
  }
  return 0;
}
