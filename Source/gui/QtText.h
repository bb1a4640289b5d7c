// The program's texts are UTF-8 in the source; Qt takes them through this one helper.
#pragma once

#include <QString>

inline QString Q(const char* text) {
  return QString::fromUtf8(text);
}
