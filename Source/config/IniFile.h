// The settings file store: an INI text file in Windows-1251 with CR LF line ends, read and
// written on every operation (no cache). Texts in memory are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TMessageService;

class TIniFile {
 public:
  // Remembers the file name; the file exists by then. Write failures are reported through
  // `messages` ("Unable to write to %s"); it may be null in headless tools.
  TIniFile(std::string fileName, TMessageService* messages);

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  // Each returns false when the write was refused (by the file system, or because the format
  // cannot hold the name or value faithfully); the file is then unchanged.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);

  std::vector<std::string> ReadSection(const std::string& section) const;        // key names
  std::vector<std::string> ReadSections() const;                                  // section names
  std::vector<std::string> ReadSectionValues(const std::string& section) const;  // "key=value"
  bool SectionExists(const std::string& section) const;  // true when it holds at least one key
  bool EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);
  void UpdateFile();  // flush: make everything written so far durable

 private:
  std::string fileName_;
  TMessageService* messages_;
};
