#include "IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <deque>
#include <string_view>
#include <unordered_set>

#include "Cp1251.h"
#include "MessageService.h"

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

enum class TLoad { Ok, Missing, Failed };

TLoad LoadFile(const std::string& name, std::string& bytes) {
  bytes.clear();
  int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? TLoad::Missing : TLoad::Failed;
  struct stat st;
  if (fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t r = read(fd, buf, sizeof buf);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      close(fd);
      return TLoad::Failed;
    }
    if (r == 0) break;
    bytes.append(buf, static_cast<size_t>(r));
  }
  close(fd);
  return TLoad::Ok;
}

// The file's text split into lines. Untouched lines stay views into the bytes read; changed
// and new lines live in `owned`.
struct TDoc {
  std::string bytes;
  bool utf8 = false;  // the file starts with a UTF-8 byte-order mark
  std::vector<TLine> lines;
  std::deque<std::string> owned;

  void Parse() {
    std::string_view all = bytes;
    if (all.starts_with(kBom)) {
      utf8 = true;
      all.remove_prefix(kBom.size());
    }
    lines.clear();
    lines.reserve(all.size() / 24 + 1);
    while (!all.empty()) {
      size_t nl = all.find('\n');
      TLine l;
      if (nl == std::string_view::npos) {
        l.text = all;
        all = {};
      } else {
        size_t end = (nl > 0 && all[nl - 1] == '\r') ? nl - 1 : nl;
        l.text = all.substr(0, end);
        l.term = all.substr(end, nl + 1 - end);
        all.remove_prefix(nl + 1);
      }
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
    return out;
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

  // Calls f(index) for every line that belongs to the section (its headers included).
  template <class F>
  void ForSection(const std::string& folded, F f) const {
    bool in = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].kind == TKind::Header) in = NameIs(lines[i].name, folded);
      if (in) f(i);
    }
  }

  const TLine* FindKey(const std::string& fsec, const std::string& fkey) const {
    const TLine* found = nullptr;
    bool in = false;
    for (const TLine& l : lines) {
      if (l.kind == TKind::Header)
        in = NameIs(l.name, fsec);
      else if (in && l.kind == TKind::Key && NameIs(l.name, fkey)) {
        found = &l;
        break;
      }
    }
    return found;
  }

  std::string Value(const TLine& l) const {
    std::string v = Decode(l.RawValue());
    TruncateCodePoints(v, TIniFile::kMaxValueLength);
    return v;
  }

  // Sets a key; `keyDisk` and `valueDisk` are already in the file's encoding.
  void SetKey(const std::string& fsec, const std::string& secDisk, const std::string& fkey,
              const std::string& keyDisk, const std::string& valueDisk) {
    bool in = false;
    std::ptrdiff_t lastHeader = -1, lastKey = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
      TLine& l = lines[i];
      if (l.kind == TKind::Header) {
        in = NameIs(l.name, fsec);
        if (in) lastHeader = static_cast<std::ptrdiff_t>(i);
      } else if (in && l.kind == TKind::Key) {
        if (NameIs(l.name, fkey)) {
          // Replace the value in place; the key keeps its spelling and its line end.
          std::string_view term = l.term;
          l = MakeLine(std::string(l.text.substr(0, l.eq + 1)) + valueDisk);
          l.term = term;
          return;
        }
        lastKey = static_cast<std::ptrdiff_t>(i);
      }
    }
    TLine line = MakeLine(keyDisk + "=" + valueDisk);
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
    lines.resize(w);
  }

  void EraseSection(const std::string& fsec) {
    std::vector<bool> drop(lines.size(), false);
    ForSection(fsec, [&](size_t i) { drop[i] = true; });
    EraseLines(drop);
  }

  void DeleteKey(const std::string& fsec, const std::string& fkey) {
    std::vector<bool> drop(lines.size(), false);
    ForSection(fsec, [&](size_t i) {
      if (lines[i].kind == TKind::Key && NameIs(lines[i].name, fkey)) drop[i] = true;
    });
    EraseLines(drop);
  }
};

bool LoadDoc(const std::string& name, TDoc& doc, TLoad* status = nullptr) {
  TLoad s = LoadFile(name, doc.bytes);
  if (status) *status = s;
  doc.Parse();
  return s != TLoad::Failed;
}

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

// Replaces the file by `data`: a temporary file beside it, renamed over it. The original keeps
// its permissions; a symbolic link keeps pointing at the file it names.
bool WriteAtomically(const std::string& name, const std::string& data) {
  std::string target = name;
  if (char* real = realpath(name.c_str(), nullptr)) {
    target = real;
    free(real);
  }
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

  struct stat st;
  bool exists = stat(target.c_str(), &st) == 0;
  if (exists && access(target.c_str(), W_OK) != 0) return false;  // a read-only file stays

  static std::atomic<unsigned> counter = 0;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = dir + "/." + base + ".tmp" + std::to_string(getpid()) + "." + std::to_string(counter++);
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = true;
  if (exists) {
    if (fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Only possible for the owner's own group or as root; the mode matters more.
    }
    if (fchmod(fd, st.st_mode & 07777) != 0) ok = false;
  }
  const char* p = data.data();
  size_t left = data.size();
  while (ok && left > 0) {
    ssize_t w = write(fd, p, left);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      ok = false;
      break;
    }
    p += w;
    left -= static_cast<size_t>(w);
  }
  if (close(fd) != 0) ok = false;
  if (ok && rename(tmp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) unlink(tmp.c_str());
  return ok;
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

TIniFile::TIniFile(std::string fileName, TMessageService* messages)
    : fileName_(std::move(fileName)), messages_(messages) {}

bool TIniFile::CreateIfMissing() const {
  int fd = open(fileName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) return close(fd) == 0;
  return errno == EEXIST;
}

bool TIniFile::Refuse() const {
  if (messages_) {
    const std::string format = "Unable to write to %s";
    const size_t at = format.find("%s");
    messages_->Error(format.substr(0, at) + fileName_ + format.substr(at + 2));
  }
  return false;
}

namespace {

// Reads the file, lets `edit` change it and writes it back when anything changed. `edit`
// returns false to refuse the whole operation.
template <class F>
bool Update(const std::string& fileName, F edit) {
  TDoc doc;
  TLoad status;
  if (!LoadDoc(fileName, doc, &status)) return false;
  if (!edit(doc)) return false;
  std::string out = doc.Serialize();
  if (out == doc.bytes && status == TLoad::Ok) return true;
  if (out.empty() && status == TLoad::Missing) return true;
  return WriteAtomically(fileName, out);
}

// The pairs of a section as ReadSectionValues returns them.
std::vector<std::string> SectionValues(const TDoc& doc, const std::string& fsec) {
  // Every key line, duplicates included, as the format's section read returns them: a
  // hall-of-fame table with a repeated key still sums all its lines.
  std::vector<std::string> out;
  doc.ForSection(fsec, [&](size_t i) {
    const TLine& l = doc.lines[i];
    if (l.kind == TKind::Key) out.push_back(doc.Decode(l.name) + "=" + doc.Value(l));
  });
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
  std::string fsec, fkey, secDisk, keyDisk, valueDisk;
  if (refused_ || IniSectionFault(section) != TIniNameFault::None ||
      IniKeyFault(key) != TIniNameFault::None || IniValueFault(value) != TIniNameFault::None ||
      !FoldArg(section, fsec) || !FoldArg(key, fkey) || !doc_.Encode(section, secDisk) ||
      !doc_.Encode(key, keyDisk) || !EncodeValue(doc_, value, valueDisk)) {
    refused_ = true;
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

void TIniBatch::EraseSection(const std::string& section) {
  std::string fsec;
  if (FoldArg(section, fsec)) doc_.EraseSection(fsec);
}

void TIniBatch::DeleteKey(const std::string& section, const std::string& key) {
  std::string fsec, fkey;
  if (FoldArg(section, fsec) && FoldArg(key, fkey)) doc_.DeleteKey(fsec, fkey);
}

std::vector<std::string> TIniBatch::ReadSectionValues(const std::string& section) const {
  std::string fsec;
  return FoldArg(section, fsec) ? SectionValues(doc_, fsec) : std::vector<std::string>{};
}

bool TIniBatch::SectionExists(const std::string& section) const {
  std::string fsec;
  return FoldArg(section, fsec) && HasKeys(doc_, fsec);
}

bool TIniFile::Batch(const std::function<void(TIniBatch&)>& changes) {
  bool ok = Update(fileName_, [&](TDoc& doc) {
    TIniBatch batch(doc);
    changes(batch);
    return !batch.refused_;
  });
  return ok || Refuse();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  std::string fsec, fkey;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey)) return def;
  TDoc doc;
  LoadDoc(fileName_, doc);
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
  TDoc doc;
  LoadDoc(fileName_, doc);
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
  TDoc doc;
  LoadDoc(fileName_, doc);
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
  TDoc doc;
  LoadDoc(fileName_, doc);
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

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
  std::string fsec;
  if (!FoldArg(section, fsec)) return {};
  TDoc doc;
  LoadDoc(fileName_, doc);
  return SectionValues(doc, fsec);
}

bool TIniFile::SectionExists(const std::string& section) const {
  std::string fsec;
  if (!FoldArg(section, fsec)) return false;
  TDoc doc;
  LoadDoc(fileName_, doc);
  return HasKeys(doc, fsec);
}

bool TIniFile::EraseSection(const std::string& section) {
  std::string fsec;
  if (!FoldArg(section, fsec)) return true;  // no section of that name can exist
  if (!Update(fileName_, [&](TDoc& doc) {
        doc.EraseSection(fsec);
        return true;
      }))
    return Refuse();
  return true;
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  std::string fsec, fkey;
  if (!FoldArg(section, fsec) || !FoldArg(key, fkey)) return;
  Update(fileName_, [&](TDoc& doc) {
    doc.DeleteKey(fsec, fkey);
    return true;
  });
}

void TIniFile::UpdateFile() {
  // Every write already replaced the file; this makes the data and the rename durable.
  std::string target = fileName_;
  if (char* real = realpath(fileName_.c_str(), nullptr)) {
    target = real;
    free(real);
  }
  int fd = open(target.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
}
