// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/StoreMessages.h"

#include <cerrno>
#include <cstring>

#include "config/Cp1251.h"
#include "config/IniFile.h"

namespace {

// A name as it can stand in a message box: control characters and broken bytes as "?", long
// texts cut.
std::string Shown(const std::string& text) {
  constexpr size_t kLimit = 40;
  const bool valid = IsValidUtf8(text);
  std::string out;
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool start = (c & 0xC0) != 0x80;
    if (start && ++chars > kLimit) {
      out += "…";
      break;
    }
    if (c < 0x20 || c == 0x7F || (!valid && c >= 0x80))
      out += '?';
    else
      out += static_cast<char>(c);
  }
  return out;
}

std::string KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "Это папка, а не файл.";
  if (S_ISFIFO(mode)) return "Это именованный канал, а не обычный файл.";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "Это устройство, а не обычный файл.";
  if (S_ISSOCK(mode)) return "Это сокет, а не обычный файл.";
  return "Это не обычный файл.";
}

std::string ErrnoCause(int err) {
  switch (err) {
    case ENOSPC:
      return "Нет места на диске.";
    case EDQUOT:
      return "Нет места на диске: исчерпана дисковая квота.";
    case EFBIG:
      return "Нет места для файла: превышен допустимый размер файла.";
    case EACCES:
    case EPERM:
      return "Нет прав доступа.";
    case EROFS:
      return "Файловая система доступна только для чтения.";
    case ENOENT:
    case ENOTDIR:
      return "Папки файла не существует.";
    case EISDIR:
      return "Это папка, а не файл.";
    case EIO:
      return "Ошибка ввода-вывода.";
    case ENAMETOOLONG:
      return "Слишком длинный путь к файлу.";
    case ELOOP:
      return "Слишком много символических ссылок в пути к файлу.";
    case EMFILE:
    case ENFILE:
      return "Открыто слишком много файлов.";
    case EBUSY:
    case ETXTBSY:
      return "Файл занят.";
    default:
      return "Системная ошибка " + std::to_string(err) + " (" + std::strerror(err) + ").";
  }
}

}  // namespace

std::string WriteRefusalText(const std::string& fileName, const std::string& cause) {
  const std::string format = "Unable to write to %s";
  const size_t at = format.find("%s");
  return format.substr(0, at) + fileName + format.substr(at + 2) + "\r\n" + cause;
}

std::string ReadFailureText(const std::string& fileName, const std::string& cause) {
  return "Не удаётся прочитать файл настроек " + fileName + ".\r\n" + cause +
         "\r\nИгра продолжится, но ничего не будет сохранено.";
}

std::string HallFameUnreadableText(const std::string& fileName, const std::string& cause) {
  return "Не удаётся прочитать зал славы из файла настроек " + fileName + ".\r\n" + cause +
         "\r\nТаблица показывает только то, что игра знает с начала сеанса; файл не изменяется.";
}

std::string FileFaultCause(const TFileOutcome& outcome) {
  switch (outcome.fault) {
    case TFileFault::None:
      return {};
    case TFileFault::Missing:
    case TFileFault::System:
      return ErrnoCause(outcome.err);
    case TFileFault::NotRegular:
      return KindOfFile(outcome.mode);
    case TFileFault::TooLarge:
      return "Файл больше 64 МБ: это не файл настроек игры.";
    case TFileFault::ReadOnly:
      return "Файл защищён от записи (только для чтения).";
  }
  return {};
}

namespace {

// Why a name or value cannot be held, as the end of a sentence.
std::string FaultReason(TIniNameFault fault) {
  switch (fault) {
    case TIniNameFault::LineBreak:
      return "в нём есть перевод строки или нулевой символ";
    case TIniNameFault::Blanks:
      return "в начале или в конце стоят пробелы";
    case TIniNameFault::Equals:
      return "в нём есть знак «=»";
    case TIniNameFault::Bracket:
      return "в нём есть знак «]»";
    case TIniNameFault::LeadingMark:
      return "оно начинается с «[» или «;»";
    case TIniNameFault::Encoding:
      return "в нём есть символ, которого нет в кодировке Windows-1251";
    case TIniNameFault::TooLong:
      return "оно длиннее " + std::to_string(TIniFile::kMaxValueLength) + " символов";
    default:
      return "его нельзя записать";
  }
}

}  // namespace

std::string NameFaultCause(const std::string& what, const std::string& text, TIniNameFault fault) {
  std::string subject = what == "section" ? "имя раздела"
                        : what == "key"   ? "имя ключа"
                                          : "значение";
  if (fault == TIniNameFault::Empty) return "Файл не может хранить пустое " + subject + ".";
  return "Файл не может хранить " + subject + " «" + Shown(text) + "»: " + FaultReason(fault) + ".";
}

std::string CaseTwinsText(const std::vector<std::vector<std::string>>& groups) {
  std::string names;
  for (const auto& group : groups) {
    std::string line;
    for (size_t i = 0; i < group.size(); ++i)
      line += (i == 0 ? "" : i + 1 == group.size() ? " и " : ", ") + ("«" + Shown(group[i]) + "»");
    names += line + "\r\n";
  }
  return "Имена игроков различаются только регистром букв:\r\n" + names +
         "Файл настроек не различает такие имена, и настройки и статистика этих игроков "
         "смешиваются.\r\nПереименуйте одного из них кнопкой «Изменить».";
}

std::string UnholdableGamerText(const std::string& name) {
  return "Игроком «" + Shown(name) + "» играть нельзя: файл настроек не может хранить это имя, " +
         "потому что " + FaultReason(IniNameFault(name)) +
         ".\r\nНастройки и результаты этого игрока не сохранились бы.\r\nИзменить имя сейчас?";
}

std::string LockProblemText(const std::string& fileName, const std::string& cause) {
  return "Не удаётся заблокировать файл настроек:\r\n" + fileName + "\r\n" + cause +
         "\r\nЕсли запустить ещё одну копию игры, она сможет изменить тот же файл, и "
         "изменения одной из копий пропадут.\r\nПродолжить без блокировки?";
}
