// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GameRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "config/SafeFile.h"
#include "model/GameRecordPlay.h"
#include "model/GameResults.h"

using namespace record_play;

namespace {

constexpr std::string_view Magic = "morvik-game";

// A seat's score by the record's victory rule, as the results count it.
int32_t SeatScore(const TGameRecord& r, int32_t area, int32_t points) {
  return r.VictoryByArea ? AreaScore(uint32_t(std::max(area, 0)), r.Width, r.Height) : points;
}

// ---------------------------------------------------------------------------------------------
// Text.

const char* KindName(TGamerKind k) {
  return k == gkComputer ? "computer" : "human";
}

// Strict UTF-8 (no overlong forms, no surrogates) without control characters but the tab.
bool CleanUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
      ++i;
      continue;
    }
    const size_t n = c >= 0xC2 && c <= 0xDF   ? 1
                     : c >= 0xE0 && c <= 0xEF ? 2
                     : c >= 0xF0 && c <= 0xF4 ? 3
                                              : 0;
    if (n == 0 || i + n >= s.size()) return false;
    uint32_t cp = c & (0x3Fu >> n);
    for (size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = cp << 6 | (d & 0x3F);
    }
    if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += n + 1;
  }
  return true;
}

// At most 40 bytes of a text for a message, never cutting a character in two.
std::string Shown(std::string_view s) {
  if (s.size() <= 40) return std::string(s);
  size_t end = 40;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return std::string(s.substr(0, end)) + "…";
}

size_t Utf8Length(std::string_view s) {
  return size_t(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A whole decimal number in [lo, hi].
bool Number(std::string_view s, int64_t lo, int64_t hi, int64_t& out) {
  if (s.empty() || s.size() > 12) return false;
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    const size_t j = std::min(s.find(' ', i), s.size());
    out.push_back(s.substr(i, j - i));
    i = j + 1;
  }
  if (!s.empty() && s.back() == ' ') out.push_back({});
  return out;
}

// The parser: one field per line, each checked as it comes; the structure at the end.
class TReader {
 public:
  TReader(std::string_view text, std::string fileName) : text_(text), file_(std::move(fileName)) {}

  TRecordRead Run() {
    TRecordRead out;
    if (!Parse() || !Check() || !Replay()) {
      out.Error = error_;
      return out;
    }
    out.Record = std::move(r_);
    return out;
  }

 private:
  bool Fail(int line, const std::string& what) {
    error_ = "Файл «" + file_ + "», строка " + std::to_string(line) + ": " + what + ".";
    return false;
  }
  bool Bad(int line, std::string_view key, std::string_view value) {
    return Fail(line, "неверное значение поля «" + Shown(key) + "»: «" + Shown(value) + "»");
  }

  bool Parse() {
    int line = 0;
    size_t at = 0;
    bool sawEnd = false;
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") at = 3;  // a byte-order mark some editors add
    while (at < text_.size()) {
      size_t next = text_.find('\n', at);
      if (next == std::string_view::npos) next = text_.size();
      std::string_view s = text_.substr(at, next - at);
      at = next + 1;
      ++line;
      if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
      if (!CleanUtf8(s))
        return Fail(line, "строка не в кодировке UTF-8 или содержит управляющие символы");
      if (line == 1) {
        if (!Header(s)) return false;
        continue;
      }
      if (s.empty()) continue;
      if (sawEnd && !Result(line, s)) return false;
      if (sawEnd) continue;
      const size_t space = s.find(' ');
      const std::string_view key = s.substr(0, space);
      const std::string_view value = space == std::string_view::npos ? "" : s.substr(space + 1);
      if (key == "end") {
        if (value == "finished")
          r_.Finished = true;
        else if (value != "unfinished")
          return Bad(line, key, value);
        sawEnd = true;
        endLine_ = line;
      } else if (key == "move") {
        if (!Move(line, value)) return false;
      } else if (!Field(line, key, value)) {
        return false;
      }
    }
    lastLine_ = std::max(line, 1);
    if (line == 0) return Fail(1, "файл пуст, это не запись игры Morvik");
    if (!sawEnd) return Fail(lastLine_, "файл обрывается: нет строки «end»");
    return true;
  }

  bool Header(std::string_view s) {
    const auto w = Words(s);
    if (w.size() != 2 || w[0] != Magic) return Fail(1, "это не запись игры Morvik");
    int64_t v = 0;
    if (!Number(w[1], 0, 1'000'000, v)) return Fail(1, "это не запись игры Morvik");
    if (v != GameRecordVersion)
      return Fail(1, "запись версии " + std::string(w[1]) +
                         " не поддерживается (эта версия игры читает версию " +
                         std::to_string(GameRecordVersion) + ")");
    return true;
  }

  // A field may appear once.
  bool Once(int line, std::string_view key) {
    if (!seen_.emplace(std::string(key), line).second)
      return Fail(line, "поле «" + std::string(key) + "» повторяется");
    return true;
  }

  bool OnOff(int line, std::string_view key, std::string_view value, bool& out) {
    if (value == "on" || value == "off") {
      out = value == "on";
      return true;
    }
    return Bad(line, key, value);
  }

  bool Field(int line, std::string_view key, std::string_view value) {
    int64_t v = 0;
    if (key == "layout" || key == "width" || key == "height" || key == "victory" ||
        key == "skip-turn" || key == "auto-turn") {
      if (!Once(line, key)) return false;
      if (key == "layout") {
        if (!Number(value, 0, INT32_MAX, v)) return Bad(line, key, value);
        r_.CodeGame = int32_t(v);
      } else if (key == "width" || key == "height") {
        if (!Number(value, GameRecordMinSide, GameRecordMaxSide, v))
          return Fail(line, "размер поля должен быть от " + std::to_string(GameRecordMinSide) +
                                " до " + std::to_string(GameRecordMaxSide) + " клеток");
        (key == "width" ? r_.Width : r_.Height) = uint8_t(v);
      } else if (key == "victory") {
        if (value != "area" && value != "points") return Bad(line, key, value);
        r_.VictoryByArea = value == "area";
      } else {
        return OnOff(line, key, value, key == "skip-turn" ? r_.SkipTurn : r_.AutoTurn);
      }
      return true;
    }
    // seatN.field
    if (key.size() > 6 && key.substr(0, 4) == "seat" && key[4] >= '1' && key[4] <= '4' &&
        key[5] == '.') {
      const int n = key[4] - '0';
      const std::string_view f = key.substr(6);
      TRecordSeat& seat = r_.Seats[size_t(n)];
      if (f == "place" || f == "area" || f == "points")
        return Fail(line, "поле «" + std::string(key) + "» стоит до строки «end»");
      if (f != "kind" && f != "level" && f != "name" && f != "team" && f != "assisted")
        return Fail(line, "неизвестное поле «" + Shown(key) + "»");
      if (!Once(line, key)) return false;
      if (f == "kind") {
        if (value != "computer" && value != "human") return Bad(line, key, value);
        seat.Kind = value == "computer" ? gkComputer : gkHuman;
      } else if (f == "level") {
        if (!Number(value, 0, 4, v)) return Bad(line, key, value);
        seat.Level = uint8_t(v);
      } else if (f == "name") {
        if (Utf8Length(value) > 20) return Fail(line, "имя длиннее 20 символов");
        seat.Name = std::string(value);
      } else if (f == "team") {
        if (!Number(value, 0, 4, v)) return Bad(line, key, value);
        seat.Team = uint8_t(v);
      } else {
        if (value != "yes" && value != "no") return Bad(line, key, value);
        seat.Assisted = value == "yes";
      }
      return true;
    }
    return Fail(line, "неизвестное поле «" + Shown(key) + "»");
  }

  bool Move(int line, std::string_view value) {
    const auto w = Words(value);
    int64_t seat = 0, color = 0;
    if ((w.size() != 2 && w.size() != 3) || !Number(w[0], 1, 4, seat) ||
        !Number(w[1], 1, 7, color) || (w.size() == 3 && w[2] != "random"))
      return Bad(line, "move", value);
    r_.Moves.push_back({uint8_t(seat), uint8_t(color), w.size() == 3});
    moveLines_.push_back(line);
    return true;
  }

  bool Result(int line, std::string_view s) {
    const size_t space = s.find(' ');
    const std::string_view key = s.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? "" : s.substr(space + 1);
    if (!r_.Finished) return Fail(line, "после «end unfinished» ничего быть не должно");
    if (key.size() > 6 && key.substr(0, 4) == "seat" && key[4] >= '1' && key[4] <= '4' &&
        key[5] == '.') {
      const std::string_view f = key.substr(6);
      TRecordSeat& seat = r_.Seats[size_t(key[4] - '0')];
      int64_t v = 0;
      if (f == "place" || f == "area" || f == "points") {
        if (!Once(line, key)) return false;
        if (!Number(value, f == "place" ? 1 : 0, f == "place" ? 8 : INT32_MAX, v))
          return Bad(line, key, value);
        if (f == "place")
          seat.Place = uint8_t(v);
        else if (f == "area")
          seat.Area = int32_t(v);
        else
          seat.Points = int32_t(v);
        return true;
      }
    }
    return Fail(line, "после строки «end» неизвестное поле «" + Shown(key) + "»");
  }

  // The fields make a game: every field present, seats that can play.
  bool Check() {
    for (const char* key : {"layout", "width", "height", "victory", "skip-turn", "auto-turn"})
      if (!seen_.count(key)) return Fail(lastLine_, std::string("нет поля «") + key + "»");
    int occupied = 0;
    for (int n = 1; n <= 4; ++n) {
      TRecordSeat& seat = r_.Seats[size_t(n)];
      const std::string p = "seat" + std::to_string(n) + ".";
      bool any = false;
      int first = 0;
      for (const char* f : {"kind", "level", "name", "team", "assisted"})
        if (auto it = seen_.find(p + f); it != seen_.end()) {
          any = true;
          first = first ? std::min(first, it->second) : it->second;
        }
      if (!any) {
        for (const char* f : {"place", "area", "points"})
          if (auto it = seen_.find(p + f); it != seen_.end())
            return Fail(it->second, "игрока " + std::to_string(n) + " нет в игре");
        continue;
      }
      for (const char* f : {"kind", "level", "name", "team", "assisted"})
        if (!seen_.count(p + f))
          return Fail(first, "у игрока " + std::to_string(n) + " нет поля «" + p + f + "»");
      const bool computer = seat.Kind == gkComputer;
      if (computer != (seat.Level != 0))
        return Fail(seen_[p + "level"],
                    computer ? "уровень компьютера должен быть от 1 до 4" : "у человека уровень 0");
      if (r_.Finished)
        for (const char* f : {"place", "area", "points"})
          if (!seen_.count(p + f))
            return Fail(lastLine_, "у игрока " + std::to_string(n) + " нет поля «" + p + f + "»");
      ++occupied;
    }
    if (occupied < 2) return Fail(lastLine_, "в игре должно быть от двух до четырёх игроков");
    return true;
  }

  // Every move legal in turn, and the ending as written.
  bool Replay() {
    TSeedGuard seed;
    TReplayServices services;
    SetRules(services, r_);
    TMorvikMachine m(&services);
    m.OnChangeGamer = [](uint8_t) {};
    m.OnChangeStateColor = [](uint8_t) {};
    Configure(m, r_);
    try {
      m.StartGame();
      if (!m.Active) return Fail(lastLine_, "игру нельзя начать");
      for (size_t i = 0; i < r_.Moves.size(); ++i)
        if (auto why = PlayMove(m, services, r_.Moves[i]))
          return Fail(moveLines_[i], "ход " + std::to_string(i + 1) + " невозможен: " + *why);
    } catch (const std::exception&) {
      return Fail(lastLine_, "ходы не воспроизводятся");
    }
    if (services.ended != r_.Finished)
      return Fail(endLine_, r_.Finished
                                ? "игра записана оконченной, но после этих ходов идёт"
                                : "игра записана неоконченной, но после этих ходов окончена");
    if (!r_.Finished) return true;
    TGameRecord scored = r_;
    for (int n = 1; n <= 4; ++n)
      if (r_.Seats[size_t(n)].Kind != gkNone) {
        const TGamerScore& sc = m.Map->Scores[size_t(n)];
        TRecordSeat& seat = scored.Seats[size_t(n)];
        seat.Area = sc.Area;
        seat.Points = sc.Points;
      }
    const auto places = RecordPlaces(scored);
    for (int n = 1; n <= 4; ++n) {
      const TRecordSeat &want = scored.Seats[size_t(n)], &got = r_.Seats[size_t(n)];
      if (want.Kind == gkNone) continue;
      const std::string p = "seat" + std::to_string(n) + ".";
      if (got.Area != want.Area || got.Points != want.Points)
        return Fail(seen_[p + (got.Area != want.Area ? "area" : "points")],
                    "итог игрока " + std::to_string(n) + " не совпадает с ходами");
      if (got.Place != places[size_t(n)])
        return Fail(seen_[p + "place"],
                    "место игрока " + std::to_string(n) + " не совпадает с итогами");
    }
    return true;
  }

  std::string_view text_;
  std::string file_;
  std::string error_;
  TGameRecord r_;
  std::map<std::string, int> seen_;  // field -> its line
  std::vector<int> moveLines_;
  int endLine_ = 0, lastLine_ = 1;
};

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::array<uint8_t, 5> RecordPlaces(const TGameRecord& r) {
  // The results' own lines and ranking: seats 1..4, then teams 1..4.
  TResultList lines;
  for (int i = 1; i <= 4; ++i) {
    lines[size_t(i - 1)].Seat = i;
    lines[size_t(i + 3)].Team = i;
  }
  auto lineOf = [](const TRecordSeat& seat, int s) {
    return seat.Team >= 1 && seat.Team <= 4 ? size_t(seat.Team + 3) : size_t(s - 1);
  };
  for (int s = 1; s <= 4; ++s) {
    const TRecordSeat& seat = r.Seats[size_t(s)];
    if (seat.Kind != gkNone) lines[lineOf(seat, s)].Number += SeatScore(r, seat.Area, seat.Points);
  }
  RankResults(lines);
  std::array<uint8_t, 5> places{};
  for (int s = 1; s <= 4; ++s) {
    const TRecordSeat& seat = r.Seats[size_t(s)];
    if (seat.Kind == gkNone) continue;
    for (size_t i = 0; i < lines.size(); ++i) {
      const bool team = seat.Team >= 1 && seat.Team <= 4;
      if (team ? lines[i].Team == seat.Team : lines[i].Seat == s)
        places[size_t(s)] = uint8_t(i + 1);
    }
  }
  return places;
}

std::string WriteGameRecord(const TGameRecord& r) {
  std::string out;
  auto line = [&](const std::string& key, const std::string& value) {
    out += key;
    out += ' ';
    out += value;
    out += '\n';
  };
  line(std::string(Magic), std::to_string(GameRecordVersion));
  line("layout", std::to_string(r.CodeGame));
  line("width", std::to_string(r.Width));
  line("height", std::to_string(r.Height));
  line("victory", r.VictoryByArea ? "area" : "points");
  line("skip-turn", r.SkipTurn ? "on" : "off");
  line("auto-turn", r.AutoTurn ? "on" : "off");
  for (int n = 1; n <= 4; ++n) {
    const TRecordSeat& s = r.Seats[size_t(n)];
    if (s.Kind == gkNone) continue;
    const std::string p = "seat" + std::to_string(n) + ".";
    line(p + "kind", KindName(s.Kind));
    line(p + "level", std::to_string(s.Level));
    line(p + "name", s.Name);
    line(p + "team", std::to_string(s.Team));
    line(p + "assisted", s.Assisted ? "yes" : "no");
  }
  for (const TRecordMove& m : r.Moves)
    line("move",
         std::to_string(m.Seat) + " " + std::to_string(m.Color) + (m.Random ? " random" : ""));
  line("end", r.Finished ? "finished" : "unfinished");
  if (r.Finished)
    for (int n = 1; n <= 4; ++n) {
      const TRecordSeat& s = r.Seats[size_t(n)];
      if (s.Kind == gkNone) continue;
      const std::string p = "seat" + std::to_string(n) + ".";
      line(p + "place", std::to_string(s.Place));
      line(p + "area", std::to_string(s.Area));
      line(p + "points", std::to_string(s.Points));
    }
  return out;
}

TRecordRead ReadGameRecord(std::string_view text, const std::string& fileName) {
  if (text.size() > GameRecordSizeLimit) {
    TRecordRead out;
    out.Error = "Файл «" + fileName + "» больше 1 МБ, это не запись игры.";
    return out;
  }
  return TReader(text, fileName).Run();
}

TRecordRead LoadGameRecord(const std::string& path) {
  const std::string name = FileName(path);
  std::string bytes;
  TFileStamp stamp;
  bool settled = false;
  const TFileOutcome o = ReadRegularFile(path, GameRecordSizeLimit, bytes, stamp, settled);
  TRecordRead out;
  switch (o.fault) {
    case TFileFault::None:
      return ReadGameRecord(bytes, name);
    case TFileFault::Missing:
      out.Error = "Файл «" + name + "» не найден.";
      break;
    case TFileFault::NotRegular:
      out.Error = "«" + name + "» не файл, а папка или устройство.";
      break;
    case TFileFault::TooLarge:
      out.Error = "Файл «" + name + "» больше 1 МБ, это не запись игры.";
      break;
    default:
      out.Error = "Файл «" + name + "» не удалось прочитать.";
      break;
  }
  return out;
}

std::optional<std::string> SaveGameRecord(const std::string& path, const TGameRecord& record) {
  TFileStamp stamp;
  if (ReplaceFile(path, WriteGameRecord(record), true, stamp).Ok()) return std::nullopt;
  return "Файл «" + FileName(path) + "» не удалось записать.";
}
