// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file store: an INI text file in Windows-1251 with CR LF line ends. Texts in
// memory are UTF-8. Every operation goes to the file: the parsed text is kept only while the
// file's identity, size and times stay as they were, so an edit by hand is seen at once while an
// unchanged file costs a stat, not a parse.
//
// Reading is tolerant of hand-edited files: LF-only and CR-only line ends (new lines are written
// with CR LF), a UTF-8 byte-order mark (such a
// file is taken as UTF-8 throughout and keeps its encoding), blanks around names and values,
// duplicate keys (a read sees the first one; key listings name it once), duplicate section
// headers (their keys are read as one section), a missing final line break. Lines that are neither
// headers nor key=value, and lines starting with ";", are kept and ignored.
//
// Every write changes the lines concerned and replaces the whole file through a temporary file
// in the same folder, synced and renamed over it, so a crash leaves the old or the new file.
// Lines a write does not change come out byte for byte as they were; when nothing changes the
// file is not touched at all. Values are read with their surrounding blanks and one pair of
// enclosing quotes removed; a value that would lose something that way is written inside double
// quotes, so every value the store accepts reads back exactly.
//
// Only a regular file (links followed) of at most 64 MiB is read. A file that exists but cannot
// be read is reported once, naming the cause; the store then goes on in memory and never writes
// that file. A refused write is reported as "Unable to write to <file>" with the cause on the
// next line, once per operation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TMessageService;
namespace ini_detail {
struct TDoc;
}

// Why a name cannot be held faithfully by the file (see IniNameFault).
enum class TIniNameFault {
  None,
  Empty,        // a key or profile name must not be empty
  LineBreak,    // CR, LF or NUL anywhere
  Blanks,       // leading or trailing blanks would be lost on reading
  Equals,       // "=" ends a key
  Bracket,      // "]" ends a section name
  LeadingMark,  // a key starting with "[" reads as a header, with ";" as a comment
  Encoding,     // not valid UTF-8, or a character outside Windows-1251
  TooLong,      // a value longer than the 2047 characters a read returns
};

// Checks a player name, which is used both as a key (section "GAMERS") and inside a section
// name ("OPTIONS_" + name).
TIniNameFault IniNameFault(const std::string& name);
inline bool IniCanHoldName(const std::string& name) {
  return IniNameFault(name) == TIniNameFault::None;
}
TIniNameFault IniKeyFault(const std::string& key);
TIniNameFault IniSectionFault(const std::string& section);
TIniNameFault IniValueFault(const std::string& value);

// How a section or key name given to a deleting operation meets the names in the file. Reads
// always compare without regard to case; Exact lets a profile go without taking along another
// one whose name differs only in letter case.
enum class TIniCase { Any, Exact };

// Several changes made on one reading of the file and written back in one replacement: all of
// them reach the file or none, and a crash cannot stop them half-way. Reads inside the batch see
// its own changes. The operations mean the same as those of TIniFile.
class TIniBatch {
 public:
  // A name or value the format cannot hold refuses the whole batch.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  // With TIniCase::Exact only headers (keys) spelled exactly as given go.
  void EraseSection(const std::string& section, TIniCase match = TIniCase::Any);
  void DeleteKey(const std::string& section, const std::string& key,
                 TIniCase match = TIniCase::Any);
  // With TIniCase::Exact only the lines under headers spelled exactly as given.
  std::vector<std::string> ReadSectionValues(const std::string& section,
                                             TIniCase match = TIniCase::Any) const;
  bool SectionExists(const std::string& section) const;
  // Every spelling of the section's key names, in file order (see TIniFile::ReadKeySpellings).
  std::vector<std::string> ReadKeySpellings(const std::string& section) const;

 private:
  friend class TIniFile;
  explicit TIniBatch(ini_detail::TDoc& doc) : doc_(doc) {}
  ini_detail::TDoc& doc_;
  bool refused_ = false;
  std::string cause_;  // of the first refusal
};

class TIniFile {
 public:
  static constexpr size_t kMaxValueLength = 2047;  // characters returned by a read
  static constexpr size_t kMaxListBytes = 16384;   // names + terminators in a listing
  static constexpr uint64_t kMaxFileSize = uint64_t(64) << 20;

  // Remembers the file name; the file exists by then. Read and write failures are reported
  // through `messages`; it may be null in headless tools.
  TIniFile(std::string fileName, TMessageService* messages);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  // Creates the file empty when it does not exist; an existing file is left exactly as it is.
  // False when it neither exists nor can be created.
  bool CreateIfMissing() const;

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else yields `def`.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  // Each returns false when the write was refused (by the file system, or because the format
  // cannot hold the name or value faithfully); the file is then unchanged and the message shown.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);

  // The same as WriteString for each pair in order, in one replacement of the file: all of them
  // are written or none.
  bool WriteStrings(const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& pairs);
  // EraseSection followed by WriteStrings, in one replacement of the file.
  bool ReplaceSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& pairs);

  // Runs `changes` on the file's current text and writes the result in one replacement; false
  // (with the message) when a change cannot be held or the file system refuses.
  bool Batch(const std::function<void(TIniBatch&)>& changes);

  std::vector<std::string> ReadSection(const std::string& section) const;  // key names
  std::vector<std::string> ReadSections() const;                           // section names
  // The key names of a section with every spelling kept: "Ann" and "ANN" both come back (a
  // listing names only the first), an exact repeat once. Nothing is cut.
  std::vector<std::string> ReadKeySpellings(const std::string& section) const;
  // "key=value" per key line, in file order, duplicate keys included (a read of the key sees
  // only the first); values as ReadString returns them.
  std::vector<std::string> ReadSectionValues(const std::string& section) const;
  bool SectionExists(const std::string& section) const;  // true when it holds at least one key
  bool EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);
  void UpdateFile();  // flush: make everything written so far durable

  // True once the file turned out to exist but not to be readable: changes are kept for this
  // run only.
  bool SavingOff() const;
  // Writes reach the disk before they count (on by default); off only to measure what that costs.
  void SetSyncWrites(bool on);

 private:
  struct TState;
  ini_detail::TDoc& Current() const;
  bool Update(const std::function<bool(ini_detail::TDoc&, std::string&)>& edit);
  bool Refuse(const std::string& cause) const;

  std::string fileName_;
  TMessageService* messages_;
  std::unique_ptr<TState> state_;
};
