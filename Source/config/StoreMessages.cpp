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

std::string NameFaultCause(const std::string& what, const std::string& text, TIniNameFault fault) {
  std::string subject = what == "section" ? "имя раздела"
                        : what == "key"   ? "имя ключа"
                                          : "значение";
  if (fault == TIniNameFault::Empty) return "Файл не может хранить пустое " + subject + ".";
  std::string why;
  switch (fault) {
    case TIniNameFault::LineBreak:
      why = "в нём есть перевод строки или нулевой символ";
      break;
    case TIniNameFault::Blanks:
      why = "в начале или в конце стоят пробелы";
      break;
    case TIniNameFault::Equals:
      why = "в нём есть знак «=»";
      break;
    case TIniNameFault::Bracket:
      why = "в нём есть знак «]»";
      break;
    case TIniNameFault::LeadingMark:
      why = "оно начинается с «[» или «;»";
      break;
    case TIniNameFault::Encoding:
      why = "в нём есть символ, которого нет в кодировке Windows-1251";
      break;
    case TIniNameFault::TooLong:
      why = "оно длиннее " + std::to_string(TIniFile::kMaxValueLength) + " символов";
      break;
    default:
      why = "его нельзя записать";
      break;
  }
  return "Файл не может хранить " + subject + " «" + Shown(text) + "»: " + why + ".";
}
