// SPDX-License-Identifier: GPL-3.0-or-later
// Games as files: whole seeded games played headless are recorded, written, read back and
// replayed; continuing a cut record must give the uninterrupted game; hostile files get their
// message.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "EngineTestSupport.h"
#include "model/GameRecord.h"

// Failures show the record as its text.
void PrintTo(const TGameRecord& r, std::ostream* os) {
  *os << "\n" << WriteGameRecord(r);
}

namespace {

// A seat of a test game: kind and level (-1 a person driven by a fixed rule, 0 empty) and team.
struct TSeatSpec {
  int level = 0;
  uint8_t team = 0;
};
struct TGameSetup {
  int32_t code;
  uint8_t width, height;
  std::array<TSeatSpec, 5> seats;
  bool byArea = true, skip = true, autoTurn = true;
};

// Where the sampled positions were when the live game made that move.
struct TSnapshot {
  TMap map;
  std::array<bool, 8> free{};
  uint8_t current = 0;
  uint32_t seed = 0;
};

// Plays a game on a headless machine, as the window's turn cycle does; a person picks the first
// free colour from a point that moves with the game, so some choices capture nothing.
class TLiveGame : public TNullWindowServices {
 public:
  TMorvikMachine m{this};
  TGameRecord record;  // as the recorder gave it at the results
  std::map<size_t, TSnapshot> samples;
  std::set<size_t> sampleAt;
  std::unique_ptr<TGameRecorder> recorder;

  explicit TLiveGame(const TGameSetup& s) {
    machine = &m;
    victoryByArea = s.byArea, skipTurn = s.skip, autoTurn = s.autoTurn;
    NoHandlers(m);
    m.SetSizeMap(s.width, s.height);
    m.SetSizeTile(1);
    m.SetCodeGame(s.code);
    for (int n = 1; n <= 4; ++n) {
      const TSeatSpec& seat = s.seats[size_t(n)];
      const TGamerKind kind = seat.level < 0 ? gkHuman : seat.level ? gkComputer : gkNone;
      m.SetGamer(n, kind, uint8_t(std::max(seat.level, 0)), "Игрок " + std::to_string(n),
                 seat.team);
    }
    m.OnMakeMove = [this](uint8_t, uint8_t) {
      const size_t k = m.MovesPlayed();
      if (!sampleAt.count(k)) return;
      TSnapshot& snap = samples[k];
      m.CopyMap(snap.map, *m.Map);
      snap.map.Scores = m.Map->Scores;
      snap.free = m.FreeColors, snap.current = m.CurrentGamer, snap.seed = GetRandSeed();
    };
    recorder = std::make_unique<TGameRecorder>(m);
  }
  void ShowResults() override { record = recorder->Record(true); }

  void Start() {
    m.StartGame();
    recorder->GameStarted(victoryByArea, skipTurn, autoTurn);
    Drive();
  }
  void Drive() {
    m.RunStartLoop();
    while (m.Active && m.AwaitingHuman) {
      uint8_t c = uint8_t(m.MovesPlayed() * 3 % 7 + 1);
      while (!m.FreeColors[c]) c = uint8_t(c % 7 + 1);
      m.TakeHumanColor(c);
    }
  }
};

constexpr int P = -1;
const TGameSetup Games[] = {
    {12345, 20, 10, {{{}, {P}, {}, {}, {1}}}},
    {777, 30, 15, {{{}, {2}, {3}, {}, {}}}, false},
    {4242, 40, 20, {{{}, {4}, {1}, {2}, {3}}}},
    {99, 10, 10, {{{}, {P}, {4}, {P}, {}}}, false, false, false},
    {2718, 60, 30, {{{}, {3, 1}, {2, 2}, {1, 1}, {P, 2}}}, false},
    {31337, 25, 40, {{{}, {4}, {}, {}, {P}}}, true, true, false},
    {1, 255, 255, {{{}, {1}, {2}, {3}, {1}}}},
    {2147483647, 255, 200, {{{}, {3}, {}, {}, {2}}}, false},
};

TRecordRead RoundTrip(const TGameRecord& r) {
  return ReadGameRecord(WriteGameRecord(r), "game.morvik");
}

}  // namespace

// Record, write, read, replay: the same moves, final board, places and scores; every sampled
// position of the replay equals the live game's at that move, field by field.
TEST(GameRecord, RoundTripReplaysTheGame) {
  int randomMoves = 0;
  for (const TGameSetup& setup : Games) {
    SCOPED_TRACE("layout " + std::to_string(setup.code));
    TLiveGame live(setup);
    live.sampleAt = {0, 1, 7, 40};
    live.Start();
    const TGameRecord& rec = live.record;
    ASSERT_TRUE(rec.Finished);
    const uint32_t outer = 0x5eed;
    SetRandSeed(outer);
    const TRecordRead read = RoundTrip(rec);
    ASSERT_TRUE(read.Record) << read.Error;
    EXPECT_EQ(*read.Record, rec);
    EXPECT_EQ(GetRandSeed(), outer) << "reading leaves the program's generator alone";
    for (const TRecordMove& mv : rec.Moves) randomMoves += mv.Random;

    TGameReplay replay(*read.Record);
    ASSERT_TRUE(replay.Seek(SIZE_MAX)) << replay.Error;
    EXPECT_TRUE(replay.Ended());
    for (int s = 1; s <= 4; ++s) {
      EXPECT_EQ(replay.Machine().Map->Scores[s].Area, rec.Seats[s].Area);
      EXPECT_EQ(replay.Machine().Map->Scores[s].Points, rec.Seats[s].Points);
    }
    // Backwards, then forwards: the sampled positions, whatever the order of the steps.
    for (auto it = live.samples.rbegin(); it != live.samples.rend(); ++it) {
      const auto& [k, snap] = *it;
      ASSERT_TRUE(replay.Seek(k));
      const TMorvikMachine& m = replay.Machine();
      ExpectSameBoard(*m.Map, snap.map);
      EXPECT_EQ(m.FreeColors, snap.free) << k;
      EXPECT_EQ(m.CurrentGamer, snap.current) << k;
      if (k < rec.Moves.size() && !rec.Moves[k].Random) {
        EXPECT_EQ(replay.Seed(), snap.seed) << k;
      }
      CheckInvariants(m, *m.Map);
    }
    EXPECT_EQ(GetRandSeed(), outer);
  }
  EXPECT_GT(randomMoves, 0) << "no game drew a random colour: the generator path went untested";
}

// A game cut after k moves and continued on another machine is the game that was never cut:
// the same later moves (random draws included) and the same end.
TEST(GameRecord, ContinuingMatchesTheUninterruptedGame) {
  for (const TGameSetup& setup : Games) {
    if (setup.width * setup.height > 5000) continue;  // the long boards are the round trip's
    TLiveGame whole(setup);
    whole.Start();
    const size_t n = whole.record.Moves.size();
    for (const size_t k : {size_t(0), size_t(1), n / 2, n - 1}) {
      SCOPED_TRACE("layout " + std::to_string(setup.code) + " cut at " + std::to_string(k));
      TGameRecord cut = whole.record;
      cut.Moves.resize(k);
      cut.Finished = false;
      for (TRecordSeat& s : cut.Seats) s.Place = 0, s.Area = 0, s.Points = 0;
      const TRecordRead read = RoundTrip(cut);
      ASSERT_TRUE(read.Record) << read.Error;
      SetRandSeed(0xBAD);  // whatever the program drew meanwhile
      TLiveGame later(setup);
      ASSERT_EQ(ContinueGame(later.m, *read.Record), std::nullopt);
      later.recorder->GameStarted(setup.byArea, setup.skip, setup.autoTurn);
      EXPECT_EQ(later.m.MovesPlayed(), k);
      later.Drive();
      EXPECT_EQ(later.record, whole.record);
    }
  }
}

namespace {

// A hostile file: how it is made from a good record's text, and the line and words of its message.
struct THostile {
  const char* what;
  std::function<int(std::vector<std::string>&)> spoil;  // returns the line the message names
  std::string message;
};

std::string Zh(int n) {
  std::string s;
  while (n--) s += "ж";
  return s;
}

int Find(const std::vector<std::string>& lines, const std::string& prefix) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(prefix, 0) == 0) return int(i);
  throw std::runtime_error("no line " + prefix);
}
// Replaces the first line starting with `prefix`; returns its line number.
auto Set(std::string prefix, std::string line) {
  return [=](std::vector<std::string>& l) {
    const int i = Find(l, prefix);
    l[size_t(i)] = line;
    return i + 1;
  };
}
auto Insert(std::string before, std::string line) {
  return [=](std::vector<std::string>& l) {
    const int i = Find(l, before);
    l.insert(l.begin() + i, line);
    return i + 1;
  };
}
auto DropAll(std::string prefix, int line) {
  return [=](std::vector<std::string>& l) {
    std::erase_if(l, [&](const std::string& x) { return x.rfind(prefix, 0) == 0; });
    return line > 0 ? line : int(l.size());
  };
}

}  // namespace

TEST(GameRecord, HostileFilesAreRefusedWithTheirLine) {
  // A classic game on the small board: person in seat 1, easy computer in seat 4.
  TLiveGame live(Games[0]);
  live.Start();
  const std::string good = WriteGameRecord(live.record);
  const TRecordMove first = live.record.Moves[0], second = live.record.Moves[1];
  const std::string firstMove =
      "move " + std::to_string(first.Seat) + " " + std::to_string(first.Color);
  const std::string areaLine = "seat1.area " + std::to_string(live.record.Seats[1].Area);

  const THostile cases[] = {
      {"newer version", Set("morvik-game", "morvik-game 2"), "запись версии 2 не поддерживается"},
      {"not a record", Set("morvik-game", "[GAMERS]"), "это не запись игры Morvik"},
      {"empty",
       [](auto& l) {
         l.clear();
         return 1;
       },
       "файл пуст"},
      {"cut short",
       [](auto& l) {
         l.resize(l.size() / 2);
         return int(l.size());
       },
       "нет строки «end»"},
      {"unknown field", Insert("width", "colour 5"), "неизвестное поле «colour»"},
      {"field twice", Insert("width", "layout 5"), "поле «layout» повторяется"},
      {"board too small", Set("width", "width 9"), "размер поля должен быть от 10 до 255"},
      {"board too large", Set("height", "height 256"), "размер поля должен быть от 10 до 255"},
      {"negative layout", Set("layout", "layout -1"), "неверное значение поля «layout»"},
      {"layout past 32 bits", Set("layout", "layout 2147483648"), "поля «layout»"},
      {"layout not a number", Set("layout", "layout 12a"), "поля «layout»"},
      {"victory", Set("victory", "victory most"), "поля «victory»: «most»"},
      {"long value cut between characters", Set("victory", "victory a" + Zh(30)),
       "«a" + Zh(19) + "…»"},
      {"option", Set("skip-turn", "skip-turn 1"), "поля «skip-turn»"},
      {"field missing", DropAll("victory", 0), "нет поля «victory»"},
      {"seat field missing",
       [](auto& l) {
         DropAll("seat4.team", 0)(l);
         return Find(l, "seat4.kind") + 1;
       },
       "нет поля «seat4.team»"},
      {"level 5", Set("seat4.level", "seat4.level 5"), "поля «seat4.level»"},
      {"computer of level 0", Set("seat4.level", "seat4.level 0"), "уровень компьютера"},
      {"person with a level", Set("seat1.level", "seat1.level 2"), "у человека уровень 0"},
      {"kind", Set("seat1.kind", "seat1.kind robot"), "поля «seat1.kind»"},
      {"team 5", Set("seat1.team", "seat1.team 5"), "поля «seat1.team»"},
      {"long name", Set("seat1.name", "seat1.name " + std::string(21, 'x')), "длиннее 20"},
      {"not UTF-8", Set("seat1.name", "seat1.name \xC0\xAF"), "UTF-8"},
      {"surrogate", Set("seat1.name", "seat1.name \xED\xA0\x80"), "UTF-8"},
      {"NUL byte", Set("seat1.name", std::string("seat1.name a\0b", 14)), "управляющие"},
      {"one seat", DropAll("seat4.", 0), "от двух до четырёх игроков"},
      {"result of an absent seat", Insert("seat1.place", "seat2.area 5"), "игрока 2 нет в игре"},
      {"colour 8", Set("move", "move 1 8"), "неверное значение поля «move»"},
      {"move without colour", Set("move", "move 1"), "поля «move»"},
      {"out of turn", Set("move", "move 4 " + std::to_string(first.Color)),
       "ход 1 невозможен: ходит игрок 1, а не игрок 4"},
      {"colour held",
       Set("move " + std::to_string(second.Seat),
           "move " + std::to_string(second.Seat) + " " + std::to_string(first.Color)),
       "ход 2 невозможен: цвет " + std::to_string(first.Color) + " занят"},
      {"move after the end", Insert("end", firstMove), "игра уже окончена"},
      {"end without its moves",
       [](auto& l) {
         const int i = Find(l, "end");
         l.erase(l.begin() + i - 1);
         return i;
       },
       "записана оконченной, но после этих ходов идёт"},
      {"finished marked unfinished",
       [](auto& l) {
         const int i = Find(l, "end");
         l.resize(size_t(i) + 1);
         l.back() = "end unfinished";
         return i + 1;
       },
       "записана неоконченной"},
      {"results after unfinished", [](auto& l) { return Set("end", "end unfinished")(l) + 1; },
       "после «end unfinished»"},
      {"wrong area", Set("seat1.area", "seat1.area 1"), "итог игрока 1 не совпадает"},
      {"wrong place", Set("seat1.place", "seat1.place 8"), "место игрока 1"},
      {"result before the end", Insert("move", areaLine), "стоит до строки «end»"},
  };
  for (const THostile& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> lines;
    for (size_t at = 0; at < good.size();) {
      const size_t nl = good.find('\n', at);
      lines.push_back(good.substr(at, nl - at));
      at = nl + 1;
    }
    const int line = c.spoil(lines);
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    const TRecordRead read = ReadGameRecord(text, "game.morvik");
    EXPECT_FALSE(read.Record);
    EXPECT_EQ(read.Error.rfind("Файл «game.morvik», строка " + std::to_string(line) + ": ", 0), 0u)
        << read.Error;
    EXPECT_NE(read.Error.find(c.message), std::string::npos) << read.Error;
  }
  // Windows line ends and a byte-order mark read like plain text.
  std::string crlf;
  for (char ch : good) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  EXPECT_TRUE(ReadGameRecord(crlf, "x").Record);
  EXPECT_TRUE(ReadGameRecord("\xEF\xBB\xBF" + good, "x").Record) << "byte-order mark";
}

TEST(GameRecord, FilesAreReadOnlyWhenSmallRegularFiles) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("morvik-record-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  TLiveGame live(Games[0]);
  live.Start();
  const std::string path = (dir / "a.morvik").string();
  ASSERT_EQ(SaveGameRecord(path, live.record), std::nullopt);
  EXPECT_EQ(LoadGameRecord(path).Record, live.record);
  const std::string big = (dir / "big.morvik").string(), fifo = (dir / "pipe.morvik").string();
  std::ofstream(big) << WriteGameRecord(live.record) << std::string(GameRecordSizeLimit, '\n');
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, std::string> refused[] = {
      {big, "Файл «big.morvik» больше 1 МБ"},
      {fifo, "«pipe.morvik» не файл"},
      {dir.string(), "не файл"},
      {(dir / "none.morvik").string(), "Файл «none.morvik» не найден."},
      {"/", "не файл"},
  };
  for (const auto& [p, message] : refused) {
    const TRecordRead read = LoadGameRecord(p);
    EXPECT_FALSE(read.Record) << p;
    EXPECT_NE(read.Error.find(message), std::string::npos) << read.Error;
  }
  EXPECT_NE(
      ReadGameRecord(std::string(GameRecordSizeLimit + 1, ' '), "x").Error.find("больше 1 МБ"),
      std::string::npos);
  std::filesystem::remove_all(dir);
}

// Places as the results dialog ranks: team lines carry their members' sum, equal numbers keep
// seats in seat order and before teams, area counts in rounded tenths of a percent.
TEST(GameRecord, PlacesFollowTheResultsRanking) {
  struct TRow {
    bool byArea;
    uint8_t width, height;
    std::array<std::array<int, 3>, 5> seats;  // team, area, points; area -1: no seat
    std::array<uint8_t, 5> places;
  };
  const TRow rows[] = {
      {false, 20, 10, {{{}, {0, 9, 50}, {0, -1, 0}, {0, -1, 0}, {0, 9, 50}}}, {0, 1, 0, 0, 2}},
      {false, 20, 10, {{{}, {1, 1, 10}, {0, 1, 15}, {1, 1, 10}, {2, 1, 15}}}, {0, 1, 2, 1, 3}},
      {true, 20, 10, {{{}, {0, 1, 1}, {0, -1, 0}, {0, -1, 0}, {0, 2, 1}}}, {0, 2, 0, 0, 1}},
      {true, 20, 10, {{{}, {0, 3, 1}, {3, 3, 1}, {0, -1, 0}, {0, -1, 0}}}, {0, 1, 2, 0, 0}},
      {true, 100, 50, {{{}, {0, 1, 1}, {0, 3, 1}, {0, -1, 0}, {0, -1, 0}}}, {0, 2, 1, 0, 0}},
  };
  for (const TRow& row : rows) {
    TGameRecord r;
    r.VictoryByArea = row.byArea, r.Width = row.width, r.Height = row.height;
    for (int s = 1; s <= 4; ++s)
      if (row.seats[s][1] >= 0)
        r.Seats[s] = {gkComputer,     1, "", uint8_t(row.seats[s][0]), false, 0, row.seats[s][1],
                      row.seats[s][2]};
    EXPECT_EQ(RecordPlaces(r), row.places);
  }
}
