// SPDX-License-Identifier: GPL-3.0-or-later
// Menu entries' tool tips shown beside the menu, level with their entry, so that a tip never
// covers the entry below the one it explains.
#pragma once

#include <QPoint>

class QMenu;

// Shows `menu`'s entry tips beside it from now on (the menu keeps its tips on).
void PlaceMenuTipsBeside(QMenu* menu);
// Where the tip of the entry under `pos` (menu coordinates) appears, in screen coordinates; a
// null point when no entry with a tip is there.
QPoint MenuTipPosition(const QMenu* menu, const QPoint& pos);
