// SPDX-License-Identifier: GPL-3.0-or-later
// The program's texts are UTF-8 in the source; Qt takes them through this one helper.
#pragma once

#include <QString>

inline QString Q(const char* text) {
  return QString::fromUtf8(text);
}

// The widest name a seat can carry: its twenty characters, all the widest Cyrillic capital.
// Name cells are sized to show it whole.
inline QString WidestSeatName() {
  return QString(20, QChar(0x0429));  // Щ
}
