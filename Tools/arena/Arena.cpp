// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arena.h"

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "engine/UnitCore.h"
#include "model/ComputerLevels.h"
#include "model/GameResults.h"

namespace {

const char* const ColourNames[8] = {"-",     "Красный",    "Зеленый",   "Желтый",
                                    "Синий", "Фиолетовый", "Бирюзовый", "Серый"};

const char* LevelName(int level) {
  const TComputerLevel* l = LevelByValue(level);
  return l ? l->Name : "-";
}

// "1, 2 or 3": the levels a seat may take.
std::string LevelChoices() {
  const auto& levels = ComputerLevels();
  std::string text;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (i > 0) text += i + 1 == levels.size() ? " or " : ", ";
    text += std::to_string(levels[i].Value);
  }
  return text;
}

// Digits only, no sign, at most max.
bool ParseNumber(const std::string& s, int64_t max, int64_t& value) {
  if (s.empty() || s.size() > 12) return false;
  value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= max;
}

void PrintBoard(std::ostream& out, const TMorvikMachine& m, bool owners);

// Headless window: records the scores and the winner, ranked as the results dialog ranks them,
// when the results would be shown (the board is freed right after), and for the demonstration
// prints the final board then.
struct TArenaServices : TNullWindowServices {
  std::array<TGamerScore, 5> final{};
  int winner = 0;
  std::ostream* show = nullptr;
  void ShowResults() override {
    final = machine->Map->Scores;
    winner = RankedResults(*machine, victoryByArea)[0].Seat;
    if (show) {
      *show << "\nBoard at the end (letters: the seats' territories)\n";
      PrintBoard(*show, *machine, true);
    }
  }
};

struct TArenaMachine {
  TArenaServices services;
  TMorvikMachine m{&services};

  TArenaMachine(const TArenaOptions& o, int32_t layout) {
    services.machine = &m;
    services.victoryByArea = o.byArea;
    m.OnChangeGamer = [](uint8_t) {};
    m.OnChangeStateColor = [](uint8_t) {};
    m.SetSizeMap(uint8_t(o.width), uint8_t(o.height));
    m.SetSizeTile(1);
    for (int s = 1; s <= 4; ++s) {
      if (o.levels[s])
        m.SetGamer(s, gkComputer, uint8_t(o.levels[s]), "Компьютер №" + std::to_string(s), 0);
      else
        m.SetGamer(s, gkNone, 0, "", 0);
    }
    m.SetCodeGame(layout);
  }
};

char SeatLetter(int seat) {
  return char('A' + seat - 1);
}

void PrintBoard(std::ostream& out, const TMorvikMachine& m, bool owners) {
  const TMap& map = *m.Map;
  for (int r = 0; r < m.Height; ++r) {
    std::string line;
    for (int c = 0; c < m.Width; ++c) {
      const uint16_t id = map.Tiles[r][c].Island;
      char ch = char('0' + map.Tiles[r][c].Color);
      for (int s = 1; s <= 4; ++s)
        if (m.Gamers[s].Kind != gkNone && m.GetGamerIsland(map, s) == id &&
            (owners || (c == m.Gamers[s].Col && r == m.Gamers[s].Row)))
          ch = SeatLetter(s);
      line += ch;
    }
    out << "  " << line << '\n';
  }
}

}  // namespace

std::optional<TArenaOptions> ParseArenaArguments(const std::vector<std::string>& args,
                                                 std::string& error) {
  TArenaOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    bool hasValue = false;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    auto needValue = [&]() -> bool {
      if (hasValue) return true;
      if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    int64_t n = 0;
    if (name == "--islands" || name == "--show") {
      if (hasValue) {
        error = "option " + name + " takes no value";
        return std::nullopt;
      }
      (name == "--islands" ? o.islands : o.show) = true;
    } else if (name == "--layout") {
      if (!needValue()) return std::nullopt;
      if (!ParseNumber(value, 2147483647, n)) {
        error = "--layout must be a number from 0 to 2147483647, not '" + value + "'";
        return std::nullopt;
      }
      o.layout = int32_t(n);
    } else if (name == "--size") {
      if (!needValue()) return std::nullopt;
      const auto x = value.find('x');
      int64_t w = 0, h = 0;
      if (x == std::string::npos || !ParseNumber(value.substr(0, x), 999, w) ||
          !ParseNumber(value.substr(x + 1), 999, h)) {
        error = "--size must be WIDTHxHEIGHT, not '" + value + "'";
        return std::nullopt;
      }
      if (w < 3 || w > 255 || h < 3 || h > 255) {
        error = "--size: width and height must be from 3 to 255, not '" + value + "'";
        return std::nullopt;
      }
      o.width = int(w), o.height = int(h);
    } else if (name == "--seats") {
      if (!needValue()) return std::nullopt;
      std::vector<std::string> parts;
      std::stringstream ss(value);
      for (std::string p; std::getline(ss, p, ',');) parts.push_back(p);
      if (parts.size() != 4 || value.back() == ',') {
        error = "--seats must list four seats like 1,-,-,3, not '" + value + "'";
        return std::nullopt;
      }
      int occupied = 0;
      for (int s = 1; s <= 4; ++s) {
        const std::string& p = parts[s - 1];
        if (p == "-") {
          o.levels[s] = 0;
        } else if (p.size() == 1 && p[0] >= '0' && p[0] <= '9' && LevelByValue(p[0] - '0')) {
          o.levels[s] = p[0] - '0';
          ++occupied;
        } else {
          error = "--seats: seat " + std::to_string(s) + " must be -, " + LevelChoices() +
                  ", not '" + p + "'";
          return std::nullopt;
        }
      }
      if (occupied < 2) {
        error = "--seats: at least two seats must be occupied";
        return std::nullopt;
      }
    } else if (name == "--victory") {
      if (!needValue()) return std::nullopt;
      if (value != "area" && value != "points") {
        error = "--victory must be area or points, not '" + value + "'";
        return std::nullopt;
      }
      o.byArea = value == "area";
    } else if (name == "--games") {
      if (!needValue()) return std::nullopt;
      if (!ParseNumber(value, 1000000, n) || n < 1) {
        error = "--games must be a number from 1 to 1000000, not '" + value + "'";
        return std::nullopt;
      }
      o.games = int(n);
    } else {
      error = "unknown option '" + args[i] + "'";
      return std::nullopt;
    }
  }
  if (o.layout && int64_t(*o.layout) + o.games - 1 > 2147483647) {
    error = "--layout plus --games runs past layout 2147483647";
    return std::nullopt;
  }
  return o;
}

TArenaGame PlayArenaGame(const TArenaOptions& o, int32_t layout, std::ostream* show) {
  TArenaMachine a(o, layout);
  TMorvikMachine& m = a.m;
  a.services.show = show;
  TArenaGame g{layout, {}, {}, 0};
  m.OnMakeMove = [&](uint8_t seat, uint8_t colour) {
    g.moves.push_back({seat, colour});
    if (show)
      *show << "  " << g.moves.size() << ". " << SeatLetter(seat) << " (seat " << int(seat)
            << "): " << int(colour) << " " << ColourNames[colour] << '\n';
  };
  if (show) {
    *show << "Layout " << layout << ", board " << o.width << "x" << o.height << ", victory by "
          << (o.byArea ? "area" : "points") << '\n';
    for (int s = 1; s <= 4; ++s)
      if (o.levels[s])
        *show << "  " << SeatLetter(s) << ": seat " << s << ", " << LevelName(o.levels[s]) << '\n';
  }
  m.StartGame();
  if (show) {
    *show << "\nBoard at the start (digits: colours 1-7; letters: the seats' home tiles)\n";
    PrintBoard(*show, m, false);
    *show << "\nMoves\n";
  }
  m.RunStartLoop();
  for (int s = 1; s <= 4; ++s) {
    if (!o.levels[s]) continue;
    const TGamerScore& sc = a.services.final[s];
    g.seats.push_back({s, o.levels[s], sc.Area, sc.Points});
  }
  g.winner = a.services.winner;
  if (show) {
    *show << "\nResult\n";
    for (const auto& s : g.seats)
      *show << "  " << SeatLetter(s.seat) << " (seat " << s.seat << ", " << LevelName(s.level)
            << "): area " << s.area << ", points " << s.points << '\n';
    *show << "Winner: " << SeatLetter(g.winner) << " (seat " << g.winner << ")\n";
  }
  return g;
}

std::string ArenaGameJson(const TArenaOptions& o, const TArenaGame& g) {
  std::ostringstream s;
  s << "{\"layout\":" << g.layout << ",\"width\":" << o.width << ",\"height\":" << o.height
    << ",\"victory\":\"" << (o.byArea ? "area" : "points") << "\",\"moves\":[";
  for (size_t i = 0; i < g.moves.size(); ++i)
    s << (i ? "," : "") << '[' << g.moves[i].first << ',' << g.moves[i].second << ']';
  s << "],\"seats\":[";
  for (size_t i = 0; i < g.seats.size(); ++i)
    s << (i ? "," : "") << "{\"seat\":" << g.seats[i].seat << ",\"level\":" << g.seats[i].level
      << ",\"area\":" << g.seats[i].area << ",\"points\":" << g.seats[i].points << '}';
  s << "]}";
  return s.str();
}

std::string ArenaIslandsJson(const TArenaOptions& o, int32_t layout) {
  TArenaMachine a(o, layout);
  a.m.StartGame();
  const TMap& map = *a.m.Map;
  std::ostringstream s;
  s << "{\"layout\":" << layout << ",\"width\":" << o.width << ",\"height\":" << o.height
    << ",\"islands\":" << map.Islands.size() << ",\"seats\":[";
  bool first = true;
  for (int seat = 1; seat <= 4; ++seat) {
    if (!o.levels[seat]) continue;
    const uint16_t t = a.m.GetGamerIsland(map, seat);
    s << (first ? "" : ",") << "{\"seat\":" << seat << ",\"territory\":" << t
      << ",\"neighbours\":[";
    first = false;
    bool firstN = true;
    for (const uint16_t n : map.Islands[t].Neighbours) {
      if (n == NoIsland) continue;
      s << (firstN ? "" : ",") << n;
      firstN = false;
    }
    s << "]}";
  }
  s << "]}";
  return s.str();
}

int RunArena(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto parsed = ParseArenaArguments(args, error);
  if (!parsed) {
    err << "morvik-arena: " << error << '\n';
    return 2;
  }
  const TArenaOptions& o = *parsed;
  int32_t layout;
  if (o.layout) {
    layout = *o.layout;
  } else {
    Randomize();
    // A fresh layout number never runs past the last one when counting up for --games.
    layout = int32_t(GetRandSeed() & 0x7FFFFFFF);
    if (int64_t(layout) + o.games - 1 > 2147483647) layout -= o.games;
  }
  if (o.islands) {
    for (int i = 0; i < o.games; ++i) out << ArenaIslandsJson(o, layout + i) << '\n';
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  std::array<int, 4> wins{};
  for (int i = 0; i < o.games; ++i) {
    if (o.show && i) out << '\n';
    const TArenaGame g = PlayArenaGame(o, layout + i, o.show ? &out : nullptr);
    if (!o.show) out << ArenaGameJson(o, g) << '\n';
    ++wins[g.winner - 1];
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  if (o.games > 1 && !o.show)
    out << "{\"games\":" << o.games << ",\"wins\":[" << wins[0] << ',' << wins[1] << ',' << wins[2]
        << ',' << wins[3] << "],\"ms\":" << ms << "}\n";
  return 0;
}
