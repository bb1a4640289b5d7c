// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/IniFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "config/Cp1251.h"
#include "config/MessageService.h"
#include "config/SafeFile.h"
#include "config/StoreMessages.h"

// Not anonymous: TIniBatch refers to the document type.
namespace ini_detail {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Strips one pair of enclosing double or single quotes, as the reader of the format does.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

size_t CountCodePoints(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

void TruncateCodePoints(std::string& s, size_t limit) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (n == limit) {
        s.resize(i);
        return;
      }
      ++n;
    }
  }
}

enum class TKind { Other, Header, Key };

struct TLine {
  std::string_view text;  // without the line end
  std::string_view term;  // "\r\n", "\n" or empty (last line without a line break)
  TKind kind = TKind::Other;
  std::string_view name;  // section name of a header, key of a key line (trimmed)
  size_t eq = 0;          // position of "=" in a key line

  std::string_view RawValue() const { return Unquote(Trim(text.substr(eq + 1))); }
};

void Classify(TLine& l) {
  l.kind = TKind::Other;
  std::string_view t = l.text;
  size_t i = 0;
  while (i < t.size() && IsBlank(t[i])) ++i;
  if (i == t.size()) return;
  if (t[i] == '[') {
    size_t close = t.find(']', i + 1);
    if (close != std::string_view::npos) {
      l.kind = TKind::Header;
      l.name = Trim(t.substr(i + 1, close - i - 1));
      return;
    }
  }
  if (t[i] == ';') return;  // comment
  size_t eq = t.find('=', i);
  if (eq == std::string_view::npos) return;
  std::string_view key = Trim(t.substr(i, eq - i));
  if (key.empty()) return;
  l.kind = TKind::Key;
  l.name = key;
  l.eq = eq;
}

// The file's text split into lines. Untouched lines stay views into the bytes read; changed
// and new lines live in `owned`.
struct TDoc {
  std::string bytes;
  bool utf8 = false;  // the file starts with a UTF-8 byte-order mark
  std::vector<TLine> lines;
  std::deque<std::string> owned;
  bool dirty = false;  // lines changed since the text was read or written
  // Header lines by folded section name, in file order; rebuilt after lines come or go, so a
  // look-up in a file of many sections does not walk all of it.
  mutable std::unordered_map<std::string, std::vector<size_t>> headers;
  mutable bool indexed = false;
  std::string spare;  // memory for the next text written

  void Parse() {
    std::string_view all = bytes;
    if (all.starts_with(kBom)) {
      utf8 = true;
      all.remove_prefix(kBom.size());
    }
    lines.clear();
    indexed = false;
    // Every line ends in CR or LF or both: counting them sizes the list once.
    lines.reserve(size_t(std::count(all.begin(), all.end(), '\n')) +
                  size_t(std::count(all.begin(), all.end(), '\r')) + 1);
    // CR LF, LF and a lone CR each end a line. The next CR and LF are looked up once each, so
    // a file that uses only one of them is still read in one pass.
    const size_t n = all.size();
    auto next = [&](char c, size_t from) {
      size_t at = all.find(c, from);
      return at == std::string_view::npos ? n : at;
    };
    size_t pos = 0, cr = next('\r', 0), lf = next('\n', 0);
    while (pos < n) {
      if (cr < pos) cr = next('\r', pos);
      if (lf < pos) lf = next('\n', pos);
      const size_t end = std::min(cr, lf);
      TLine l;
      l.text = all.substr(pos, end - pos);
      size_t termLength = end == n ? 0 : (end == cr && end + 1 < n && all[end + 1] == '\n') ? 2 : 1;
      l.term = all.substr(end, termLength);
      pos = end + termLength;
      Classify(l);
      lines.push_back(l);
    }
  }

  TLine MakeLine(std::string text) {
    owned.push_back(std::move(text));
    TLine l;
    l.text = owned.back();
    l.term = kCrLf;
    Classify(l);
    return l;
  }

  std::string Serialize() const {
    std::string out;
    SerializeInto(out);
    return out;
  }

  void SerializeInto(std::string& out) const {
    out.clear();
    out.reserve(bytes.size() + 256);
    if (utf8) out.append(kBom);
    // Untouched neighbours lie side by side in `bytes`: copy such runs in one piece.
    const char* runBegin = nullptr;
    const char* runEnd = nullptr;
    auto piece = [&](std::string_view s) {
      if (s.empty()) return;
      if (runEnd == s.data()) {
        runEnd += s.size();
        return;
      }
      if (runBegin) out.append(runBegin, runEnd);
      runBegin = s.data();
      runEnd = s.data() + s.size();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
      piece(lines[i].text);
      // Only the old last line can lack a line break; it needs one once something follows it.
      piece(lines[i].term.empty() && i + 1 < lines.size() ? kCrLf : lines[i].term);
    }
    if (runBegin) out.append(runBegin, runEnd);
  }

  // Takes `out`, the text Serialize() made, as the file's text: every line becomes a view into
  // it again, so changed lines no longer pile up in `owned`.
  void Rebase(std::string&& out) {
    // The old text's memory serves the next write: a big file is not allocated afresh each time.
    spare = std::move(bytes);
    spare.clear();
    bytes = std::move(out);
    size_t at = utf8 ? kBom.size() : 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      TLine& l = lines[i];
      const std::string_view term = l.term.empty() && i + 1 < lines.size() ? kCrLf : l.term;
      const size_t nameAt = l.kind == TKind::Other ? 0 : size_t(l.name.data() - l.text.data());
      l.text = std::string_view(bytes).substr(at, l.text.size());
      at += l.text.size();
      l.term = std::string_view(bytes).substr(at, term.size());
      at += term.size();
      if (l.kind != TKind::Other) l.name = l.text.substr(nameAt, l.name.size());
    }
    owned.clear();
    dirty = false;
  }

  // Comparison form of a name as it stands in the file: folded Windows-1251 bytes.
  std::string Fold(std::string_view raw) const {
    if (utf8) {
      std::string c;
      if (Utf8ToCp1251(raw, c)) return Cp1251FoldString(c);
    }
    return Cp1251FoldString(raw);
  }
  bool NameIs(std::string_view raw, const std::string& folded) const {
    if (utf8) return Fold(raw) == folded;
    if (raw.size() != folded.size()) return false;
    for (size_t i = 0; i < raw.size(); ++i)
      if (Cp1251Fold(static_cast<unsigned char>(raw[i])) != static_cast<unsigned char>(folded[i]))
        return false;
    return true;
  }
  std::string Decode(std::string_view raw) const {
    if (utf8 && IsValidUtf8(raw)) return std::string(raw);
    return Cp1251ToUtf8(raw);
  }
  // Text for the disk in the file's own encoding; false when the code page cannot hold it.
  bool Encode(const std::string& text, std::string& out) const {
    if (!Utf8ToCp1251(text, out)) return false;
    if (utf8) out = text;
    return true;
  }

  const std::vector<size_t>* Headers(const std::string& folded) const {
    if (!indexed) {
      headers.clear();
      for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == TKind::Header) headers[Fold(lines[i].name)].push_back(i);
      indexed = true;
    }
    auto it = headers.find(folded);
    return it == headers.end() ? nullptr : &it->second;
  }

  // Calls f(index) for every line that belongs to the section (its headers included), in file
  // order; repeated headers of one section make one section.
  template <class F>
  void ForSection(const std::string& folded, F f) const {
    const std::vector<size_t>* heads = Headers(folded);
    if (!heads) return;
    for (size_t h : *heads) {
      f(h);
      for (size_t i = h + 1; i < lines.size() && lines[i].kind != TKind::Header; ++i) f(i);
    }
  }

  // As ForSection, but only under headers spelled exactly `secDisk` (the file's encoding).
  template <class F>
  void ForSectionExact(const std::string& folded, const std::string& secDisk, F f) const {
    const std::vector<size_t>* heads = Headers(folded);
    if (!heads) return;
    for (size_t h : *heads) {
      if (lines[h].name != secDisk) continue;
      f(h);
      for (size_t i = h + 1; i < lines.size() && lines[i].kind != TKind::Header; ++i) f(i);
    }
  }

  // Each spelling of the section's key names once, in file order.
  std::vector<std::string> KeySpellings(const std::string& fsec) const {
    std::vector<std::string> out;
    std::unordered_set<std::string_view> seen;
    ForSection(fsec, [&](size_t i) {
      if (lines[i].kind == TKind::Key && seen.insert(lines[i].name).second)
        out.push_back(Decode(lines[i].name));
    });
    return out;
  }

  const TLine* FindKey(const std::string& fsec, const std::string& fkey) const {
    const std::vector<size_t>* heads = Headers(fsec);
    if (!heads) return nullptr;
    for (size_t h : *heads)
      for (size_t i = h + 1; i < lines.size() && lines[i].kind != TKind::Header; ++i)
        if (lines[i].kind == TKind::Key && NameIs(lines[i].name, fkey)) return &lines[i];
    return nullptr;
  }

  std::string Value(const TLine& l) const {
    std::string v = Decode(l.RawValue());
    TruncateCodePoints(v, TIniFile::kMaxValueLength);
    return v;
  }

  // Sets a key; `keyDisk` and `valueDisk` are already in the file's encoding.
  void SetKey(const std::string& fsec, const std::string& secDisk, const std::string& fkey,
              const std::string& keyDisk, const std::string& valueDisk) {
    std::ptrdiff_t lastHeader = -1, lastKey = -1;
    if (const std::vector<size_t>* heads = Headers(fsec)) {
      for (size_t h : *heads) {
        lastHeader = std::ptrdiff_t(h);
        for (size_t i = h + 1; i < lines.size() && lines[i].kind != TKind::Header; ++i) {
          TLine& l = lines[i];
          if (l.kind != TKind::Key) continue;
          if (NameIs(l.name, fkey)) {
            // Replace the value in place; the key keeps its spelling and its line end.
            std::string text = std::string(l.text.substr(0, l.eq + 1)) + valueDisk;
            if (text == l.text) return;
            std::string_view term = l.term;
            l = MakeLine(std::move(text));
            l.term = term;
            dirty = true;
            return;
          }
          lastKey = std::ptrdiff_t(i);
        }
      }
    }
    TLine line = MakeLine(keyDisk + "=" + valueDisk);
    dirty = true;
    indexed = false;
    if (lastHeader >= 0) {
      std::ptrdiff_t after = lastKey >= 0 ? lastKey : lastHeader;
      lines.insert(lines.begin() + after + 1, line);
    } else {
      lines.push_back(MakeLine("[" + secDisk + "]"));
      lines.push_back(line);
    }
  }

  void EraseLines(const std::vector<bool>& drop) {
    size_t w = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (!drop[i]) lines[w++] = lines[i];
    if (w == lines.size()) return;
    dirty = true;
    indexed = false;
    lines.resize(w);
  }

  // `secDisk` set: only headers spelled exactly so.
  void EraseSection(const std::string& fsec, const std::string* secDisk = nullptr) {
    std::vector<bool> drop(lines.size(), false);
    auto mark = [&](size_t i) { drop[i] = true; };
    if (secDisk)
      ForSectionExact(fsec, *secDisk, mark);
    else
      ForSection(fsec, mark);
    EraseLines(drop);
  }

  // `keyDisk` set: only keys spelled exactly so.
  void DeleteKey(const std::string& fsec, const std::string& fkey,
                 const std::string* keyDisk = nullptr) {
    std::vector<bool> drop(lines.size(), false);
    ForSection(fsec, [&](size_t i) {
      if (lines[i].kind == TKind::Key && NameIs(lines[i].name, fkey) &&
          (!keyDisk || lines[i].name == *keyDisk))
        drop[i] = true;
    });
    EraseLines(drop);
  }
};

// Folded comparison form of a caller's name; false when no name in the file can match it.
bool FoldArg(const std::string& name, std::string& folded) {
  if (!Utf8ToCp1251(name, folded)) return false;
  folded = Cp1251FoldString(folded);
  return true;
}

bool NeedsQuotes(std::string_view v) {
  if (v.empty()) return false;
  if (IsBlank(v.front()) || IsBlank(v.back())) return true;
  return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

bool EncodeValue(const TDoc& doc, const std::string& value, std::string& out) {
  if (!doc.Encode(value, out)) return false;
  if (NeedsQuotes(out)) out = "\"" + out + "\"";
  return true;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

TIniNameFault CommonFault(const std::string& s) {
  if (!IsValidUtf8(s)) return TIniNameFault::Encoding;
  if (HasLineBreak(s)) return TIniNameFault::LineBreak;
  std::string enc;
  if (!Utf8ToCp1251(s, enc)) return TIniNameFault::Encoding;
  return TIniNameFault::None;
}

bool EdgeBlanks(const std::string& s) {
  return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

}  // namespace ini_detail

using namespace ini_detail;

TIniNameFault IniKeyFault(const std::string& key) {
  if (key.empty()) return TIniNameFault::Empty;
  if (auto f = CommonFault(key); f != TIniNameFault::None) return f;
  if (EdgeBlanks(key)) return TIniNameFault::Blanks;
  if (key.find('=') != std::string::npos) return TIniNameFault::Equals;
  if (key.front() == '[' || key.front() == ';') return TIniNameFault::LeadingMark;
  return TIniNameFault::None;
}

TIniNameFault IniSectionFault(const std::string& section) {
  if (auto f = CommonFault(section); f != TIniNameFault::None) return f;
  if (EdgeBlanks(section)) return TIniNameFault::Blanks;
  if (section.find(']') != std::string::npos) return TIniNameFault::Bracket;
  return TIniNameFault::None;
}

TIniNameFault IniValueFault(const std::string& value) {
  if (auto f = CommonFault(value); f != TIniNameFault::None) return f;
  if (CountCodePoints(value) > TIniFile::kMaxValueLength) return TIniNameFault::TooLong;
  return TIniNameFault::None;
}

TIniNameFault IniNameFault(const std::string& name) {
  if (auto f = IniKeyFault(name); f != TIniNameFault::None) return f;
  if (auto f = IniValueFault(name); f != TIniNameFault::None) return f;
  return IniSectionFault(name);
}

// The parsed file kept between operations: a read costs a stat while the file stays as it was.
struct TIniFile::TState {
  std::unique_ptr<TDoc> doc;  // null: to be read
  TFileStamp stamp;           // the version of the file `doc` holds
  bool missing = false;       // `doc` stands for a file that does not exist
  bool trusted = false;       // `doc` may be used while the stamp stays the same
  bool detached = false;      // the file could not be read: changes stay in memory
  bool sync = true;
};

TIniFile::TIniFile(std::string fileName, TMessageService* messages)
    : fileName_(std::move(fileName)), messages_(messages), state_(std::make_unique<TState>()) {}

TIniFile::~TIniFile() = default;

bool TIniFile::SavingOff() const {
  return state_->detached;
}

void TIniFile::SetSyncWrites(bool on) {
  state_->sync = on;
}

bool TIniFile::CreateIfMissing() const {
  int fd = open(fileName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) return close(fd) == 0;
  return errno == EEXIST;
}

bool TIniFile::Refuse(const std::string& cause) const {
  if (messages_) messages_->Error(WriteRefusalText(fileName_, cause));
  return false;
}

ini_detail::TDoc& TIniFile::Current() const {
  TState& s = *state_;
  if (s.detached) return *s.doc;
  TFileStamp now;
  TFileOutcome outcome = StampOf(fileName_, now);
  if (outcome.Ok() && s.doc && !s.missing && s.trusted && now == s.stamp) return *s.doc;
  if (outcome.Ok()) {
    auto doc = std::make_unique<TDoc>();
    bool settled = false;
    outcome = ReadRegularFile(fileName_, kMaxFileSize, doc->bytes, s.stamp, settled);
    if (outcome.Ok()) {
      doc->Parse();
      s.doc = std::move(doc);
      s.missing = false;
      s.trusted = settled;
      return *s.doc;
    }
  }
  if (outcome.fault == TFileFault::Missing) {
    if (!s.doc || !s.missing) s.doc = std::make_unique<TDoc>();
    s.missing = true;
    s.trusted = false;
    return *s.doc;
  }
  // Existing but unreadable: said once; the session goes on with what it knew and never
  // replaces a file it could not read.
  s.detached = true;
  if (!s.doc || s.missing) s.doc = std::make_unique<TDoc>();
  s.doc->dirty = false;
  if (messages_) messages_->Error(ReadFailureText(fileName_, FileFaultCause(outcome)));
  return *s.doc;
}

bool TIniFile::Update(const std::function<bool(TDoc&, std::string&)>& edit) {
  TState& s = *state_;
  TDoc& doc = Current();
  std::string cause;
  if (s.detached) {
    const std::string before = doc.Serialize();
    if (edit(doc, cause)) return true;
    s.doc = std::make_unique<TDoc>();
    s.doc->bytes = before;
    s.doc->Parse();
    return Refuse(cause);
  }
  if (!edit(doc, cause)) {
    s.doc.reset();  // half-done changes go; the file is read again
    return Refuse(cause);
  }
  if (!doc.dirty) return true;
  std::string out = std::move(doc.spare);
  doc.SerializeInto(out);
  TFileStamp stamp;
  TFileOutcome outcome = ReplaceFile(fileName_, out, s.sync, stamp);
  if (!outcome.Ok()) {
    s.doc.reset();
    return Refuse(FileFaultCause(outcome));
  }
  doc.Rebase(std::move(out));
  s.stamp = stamp;
  s.missing = false;
  s.trusted = true;  // our own new file: nobody else has written it
  return true;
}

namespace {

// The pairs of a section as ReadSectionValues returns them; with `secDisk`, only those under
// headers spelled exactly so.
std::vector<std::string> SectionValues(const TDoc& doc, const std::string& fsec,
                                       const std::string* secDisk = nullptr) {
  // Every key line, duplicates included, as the format's section read returns them: a
  // hall-of-fame table with a repeated key still sums all its lines.
  std::vector<std::string> out;
  auto add = [&](size_t i) {
    const TLine& l = doc.lines[i];
    if (l.kind == TKind::Key) out.push_back(doc.Decode(l.name) + "=" + doc.Value(l));
  };
  if (secDisk)
    doc.ForSectionExact(fsec, *secDisk, add);
  else
    doc.ForSection(fsec, add);
  return out;
}

bool HasKeys(const TDoc& doc, const std::string& fsec) {
  bool any = false;
  doc.ForSection(fsec, [&](size_t i) { any = any || doc.lines[i].kind == TKind::Key; });
  return any;
}

}  // namespace

void TIniBatch::WriteString(const std::string& section, const std::string& key,
                            const std::string& value) {
  if (refused_) return;
  const std::pair<const char*, const std::string*> parts[] = {
      {"section", &section}, {"key", &key}, {"value", &value}};
  const TIniNameFault faults[] = {IniSectionFault(section), IniKeyFault(key), IniValueFault(value)};
  for (size_t i = 0; i < 3; ++i) {
    if (faults[i] != TIniNameFault::None) {
      refused_ = true;
      cause_ = NameFaultCause(parts[i].first, *parts[i].second, faults[i]);
      return;
    }
  }
  std::string fsec, fkey, secDisk, keyDisk, valueDisk;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey) || !doc_.Encode(section, secDisk) ||
      !doc_.Encode(key, keyDisk) || !EncodeValue(doc_, value, valueDisk)) {
    refused_ = true;
    cause_ = NameFaultCause("value", value, TIniNameFault::Encoding);
    return;
  }
  doc_.SetKey(fsec, secDisk, fkey, keyDisk, valueDisk);
}

void TIniBatch::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniBatch::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniBatch::EraseSection(const std::string& section, TIniCase match) {
  std::string fsec, secDisk;
  if (!FoldArg(section, fsec) || !doc_.Encode(section, secDisk)) return;
  doc_.EraseSection(fsec, match == TIniCase::Exact ? &secDisk : nullptr);
}

void TIniBatch::DeleteKey(const std::string& section, const std::string& key, TIniCase match) {
  std::string fsec, fkey, keyDisk;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey) || !doc_.Encode(key, keyDisk)) return;
  doc_.DeleteKey(fsec, fkey, match == TIniCase::Exact ? &keyDisk : nullptr);
}

std::vector<std::string> TIniBatch::ReadSectionValues(const std::string& section,
                                                      TIniCase match) const {
  std::string fsec, secDisk;
  if (!FoldArg(section, fsec) || !doc_.Encode(section, secDisk)) return {};
  return SectionValues(doc_, fsec, match == TIniCase::Exact ? &secDisk : nullptr);
}

std::vector<std::string> TIniBatch::ReadKeySpellings(const std::string& section) const {
  std::string fsec;
  return FoldArg(section, fsec) ? doc_.KeySpellings(fsec) : std::vector<std::string>{};
}

bool TIniBatch::SectionExists(const std::string& section) const {
  std::string fsec;
  return FoldArg(section, fsec) && HasKeys(doc_, fsec);
}

bool TIniFile::Batch(const std::function<void(TIniBatch&)>& changes) {
  return Update([&](TDoc& doc, std::string& cause) {
    TIniBatch batch(doc);
    changes(batch);
    cause = batch.cause_;
    return !batch.refused_;
  });
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  std::string fsec, fkey;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey)) return def;
  const TDoc& doc = Current();
  const TLine* l = doc.FindKey(fsec, fkey);
  return l ? doc.Value(*l) : def;
}

namespace {

bool ParseInteger(std::string_view s, int32_t& out) {
  bool neg = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    neg = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  } else if (s.starts_with("$")) {
    base = 16;
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  uint64_t v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (base == 10) {
    if (v > (neg ? 2147483648ull : 2147483647ull)) return false;
    out = neg ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
  } else {
    // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
    uint32_t u = static_cast<uint32_t>(v);
    out = static_cast<int32_t>(neg ? 0u - u : u);
  }
  return true;
}

}  // namespace

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                              int32_t def) const {
  std::string fsec, fkey;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey)) return def;
  const TDoc& doc = Current();
  const TLine* l = doc.FindKey(fsec, fkey);
  if (!l) return def;
  int32_t v;
  return ParseInteger(l->RawValue(), v) ? v : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  return WriteStrings(section, {{key, value}});
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::WriteStrings(const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& pairs) {
  return Batch([&](TIniBatch& b) {
    for (auto& [k, v] : pairs) b.WriteString(section, k, v);
  });
}

bool TIniFile::ReplaceSection(const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& pairs) {
  return Batch([&](TIniBatch& b) {
    b.EraseSection(section);
    for (auto& [k, v] : pairs) b.WriteString(section, k, v);
  });
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  std::vector<std::string> out;
  std::string fsec;
  if (!FoldArg(section, fsec)) return out;
  const TDoc& doc = Current();
  std::unordered_set<std::string> seen;
  size_t bytes = 0;
  bool full = false;
  doc.ForSection(fsec, [&](size_t i) {
    const TLine& l = doc.lines[i];
    if (full || l.kind != TKind::Key) return;
    std::string f = doc.Fold(l.name);
    if (!seen.insert(f).second) return;
    // Names that do not fit whole are left out rather than cut.
    if (bytes + f.size() + 1 > kMaxListBytes) {
      full = true;
      return;
    }
    bytes += f.size() + 1;
    out.push_back(doc.Decode(l.name));
  });
  return out;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> out;
  const TDoc& doc = Current();
  std::unordered_set<std::string> seen;
  size_t bytes = 0;
  for (const TLine& l : doc.lines) {
    if (l.kind != TKind::Header) continue;
    std::string f = doc.Fold(l.name);
    if (!seen.insert(f).second) continue;
    if (bytes + f.size() + 1 > kMaxListBytes) break;
    bytes += f.size() + 1;
    out.push_back(doc.Decode(l.name));
  }
  return out;
}

std::vector<std::string> TIniFile::ReadKeySpellings(const std::string& section) const {
  std::string fsec;
  if (!FoldArg(section, fsec)) return {};
  return Current().KeySpellings(fsec);
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
  std::string fsec;
  if (!FoldArg(section, fsec)) return {};
  const TDoc& doc = Current();
  return SectionValues(doc, fsec);
}

bool TIniFile::SectionExists(const std::string& section) const {
  std::string fsec;
  if (!FoldArg(section, fsec)) return false;
  const TDoc& doc = Current();
  return HasKeys(doc, fsec);
}

bool TIniFile::EraseSection(const std::string& section) {
  std::string fsec;
  if (!FoldArg(section, fsec)) return true;  // no section of that name can exist
  return Update([&](TDoc& doc, std::string&) {
    doc.EraseSection(fsec);
    return true;
  });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  std::string fsec, fkey;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey)) return;
  // Deleting a key reports nothing, not even a refusal.
  TMessageService* messages = messages_;
  messages_ = nullptr;
  Update([&](TDoc& doc, std::string&) {
    doc.DeleteKey(fsec, fkey);
    return true;
  });
  messages_ = messages;
}

void TIniFile::UpdateFile() {
  // Every write already synced its file; this covers a file changed by other means as well.
  if (!state_->detached) SyncFile(fileName_);
}
