// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Cp1251.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace {

constexpr unsigned char kUnassigned = 0x98;

// One converter per direction and thread; iconv_open is far too slow to call per string.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~TConverter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;
  iconv_t Get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

 private:
  iconv_t cd_;
};

TConverter& Encoder() {
  thread_local TConverter c("WINDOWS-1251", "UTF-8");
  return c;
}
TConverter& Decoder() {
  thread_local TConverter c("UTF-8", "WINDOWS-1251");
  return c;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// Runs iconv over `in`, appending to `out`. Returns the number of input bytes consumed; stops at
// the first byte sequence the converter refuses.
size_t Convert(iconv_t cd, std::string_view in, std::string& out) {
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  std::array<char, 1024> buf;
  while (srcLeft > 0) {
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf.data(), dst - buf.data());
    if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
  }
  return in.size() - srcLeft;
}

std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 0x20);
  for (int c = 0xC0; c <= 0xDF; ++c) t[c] = static_cast<unsigned char>(c + 0x20);  // А..Я
  // The Cyrillic capitals outside the main block, with their small letters.
  const unsigned char pairs[][2] = {{0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A},
                                    {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
                                    {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xAA, 0xBA},
                                    {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  for (auto& p : pairs) t[p[0]] = p[1];
  return t;
}

const std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

bool IsValidUtf8(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n) {
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      unsigned char cc = s[i + k];
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

bool Utf8ToCp1251(std::string_view utf8, std::string& out) {
  out.clear();
  if (IsAscii(utf8)) {
    out.assign(utf8);
    return true;
  }
  if (!IsValidUtf8(utf8)) return false;
  TConverter& enc = Encoder();
  if (!enc.Ok()) return false;
  out.reserve(utf8.size());
  iconv_t cd = enc.Get();
  while (!utf8.empty()) {
    utf8.remove_prefix(Convert(cd, utf8, out));
    if (utf8.empty()) break;
    // U+0098 is how the unassigned byte is carried in memory.
    if (utf8.size() >= 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
        static_cast<unsigned char>(utf8[1]) == 0x98) {
      out.push_back(static_cast<char>(kUnassigned));
      utf8.remove_prefix(2);
      cd = enc.Get();
      continue;
    }
    return false;
  }
  return true;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  TConverter& dec = Decoder();
  if (!dec.Ok()) return std::string(bytes);
  iconv_t cd = dec.Get();
  while (!bytes.empty()) {
    bytes.remove_prefix(Convert(cd, bytes, out));
    if (bytes.empty()) break;
    // Only 0x98 is refused by the converter; keep it as U+0098.
    unsigned char c = bytes[0];
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    bytes.remove_prefix(1);
    cd = dec.Get();
  }
  return out;
}

unsigned char Cp1251Fold(unsigned char c) {
  return kFold[c];
}

std::string Cp1251FoldString(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
  return out;
}

bool SameTextCI(std::string_view a, std::string_view b) {
  std::string ea, eb;
  if (!Utf8ToCp1251(a, ea) || !Utf8ToCp1251(b, eb)) return a == b;
  return Cp1251FoldString(ea) == Cp1251FoldString(eb);
}
