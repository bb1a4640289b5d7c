// SPDX-License-Identifier: GPL-3.0-or-later
// The images of ilColor (indices 0..25), all drawn here at start-up: 0..6 are tiles of the seven
// colours painted from their shades; the others are small drawings of our own.
#pragma once

#include <QIcon>
#include <array>
#include <cstdint>

inline constexpr int ColorIconCount = 26;

// With `signs`, the seven colour tiles carry their colours' signs, as the board draws them.
std::array<QIcon, ColorIconCount> MakeColorIcons(bool signs = false);
QIcon MakeColorIcon(uint8_t color, bool signs);
// The statistics command's bar chart, drawn apart from the indexed set.
QIcon MakeStatsIcon();

// The learner's two commands, drawn the same way: [0] hint, [1] take a choice back.
std::array<QIcon, 2> MakeCoachIcons();
