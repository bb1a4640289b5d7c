#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a player sees of the main window, under a private Xvfb:
#   1. the main window opens in the middle of the screen;
#   2. during a game the status bar's pixels stay exactly as they are while the pointer rests on
#      a tool button (its tip showing), on an entry of an open menu, and after Esc closes that
#      menu with the pointer on the tool bar.
# With a third argument, also saves the README pictures there (one window each, cropped).
# Usage: looks.sh BIN_DIR ARTEFACTS_DIR [PICTURES_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11.sh
source "$here/x11.sh"
pictures=""
if [ $# -ge 3 ]; then
  mkdir -p "$3"
  pictures=$(cd "$3" && pwd)
fi
e2e_prepare "$1" "$2" looks Xvfb xdotool /usr/bin/import /usr/bin/compare /usr/bin/convert iconv python3
e2e_launch

# Geometry of a window as X Y W H (no window manager: the window is its frame).
geometry() {
  # shellcheck disable=SC2034 # SCREEN and WINDOW come with the others
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}
# Crop of the screen: crop FILE X Y W H.
crop() { /usr/bin/import -window root -crop "$4x$5+$2+$3" +repage "$1" 2>/dev/null; }
# A README picture: the box X Y W H of the screen, optimised: no metadata, a 256-colour palette
# (the few anti-aliased text pixels it moves stay within a few per cent).
picture() {
  [ -n "$pictures" ] || return 0
  crop "$E2E_TMP/raw.png" "$2" "$3" "$4" "$5"
  /usr/bin/convert "$E2E_TMP/raw.png" -strip -define png:compression-level=9 "PNG8:$pictures/$1.png"
  e2e_log "picture $pictures/$1.png"
}

# ---- a profile, then the main window ---------------------------------------------------------
e2e_new_profile Tester
main=$(e2e_wait_window "$caption_re" 20)
# The window is placed once it is shown and sized: read its place until it is centred.
centred() {
  local x y w h dx dy
  read -r x y w h <<<"$(geometry "$main")"
  echo "at $x,$y size ${w}x$h"
  dx=$((2 * x + w - 1280))
  dy=$((2 * y + h - 1024))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
e2e_poll 10 "main window not centred on the 1280x1024 screen" centred
read -r mx my mw mh <<<"$(geometry "$main")"
e2e_log "main window at $mx,$my size ${mw}x$mh"

# ---- a game; the status bar under hints and menus -------------------------------------------
e2e_focus "$main"
xdotool mousemove 0 0
e2e_keys F2
e2e_wait_board "$E2E_TMP/board.ppm" ||
  e2e_fail "the board was not drawn in time: $(cat "$E2E_TMP/check.err")"
sleep 1 # the person's turn: nothing moves until a colour is chosen
e2e_shot game
status() { crop "$E2E_TMP/$1.png" "$mx" $((my + mh - 20)) "$mw" 20; }
same_status() {
  local diff
  diff=$(/usr/bin/compare -metric AE "$E2E_TMP/status.png" "$E2E_TMP/$1.png" null: 2>&1 || true)
  [ "$diff" = 0 ] || {
    cp "$E2E_TMP/status.png" "$E2E_TMP/$1.png" "$E2E_ARTEFACTS/"
    e2e_fail "status bar changed ($diff pixels) $2"
  }
}
status_colours() {
  status status
  local colours
  colours=$(/usr/bin/convert "$E2E_TMP/status.png" -format '%k' info:)
  echo "$colours colours"
  [ "$colours" -gt 8 ]
}
e2e_poll 10 "the status bar shows nothing" status_colours
picture game "$mx" "$my" "$mw" "$mh"

# The first button of the game tool bar ("Старт"), below the 25-pixel menu bar.
xdotool mousemove --window "$main" 14 38
sleep 1.5
e2e_shot tool-tip
status hover
same_status hover "with the pointer on a tool button"

# "Игра" open, the pointer on its first entry.
xdotool mousemove --window "$main" 20 12 click 1
sleep 0.5
xdotool mousemove --window "$main" 50 38
sleep 1
e2e_shot menu-entry
status menu
same_status menu "with the pointer on a menu entry"

# Esc closes the menu; the pointer rests on the tool bar.
xdotool mousemove --window "$main" 14 38
sleep 0.3
e2e_keys Escape
sleep 1
e2e_shot menu-closed
status closed
same_status closed "after Esc closed the menu over the tool bar"
xdotool mousemove 0 0

# ---- the README's other pictures ------------------------------------------------------------
if [ -n "$pictures" ]; then
  # Settings over the main window: the box that holds both.
  e2e_focus "$main"
  e2e_keys F7
  settings=$(e2e_wait_window '^Настройки$' 10)
  sleep 0.5
  read -r sx sy sw sh <<<"$(geometry "$settings")"
  left=$((sx < mx ? sx : mx))
  top=$((sy < my ? sy : my))
  right=$((sx + sw > mx + mw ? sx + sw : mx + mw))
  bottom=$((sy + sh > my + mh ? sy + sh : my + mh))
  picture settings "$left" "$top" $((right - left)) $((bottom - top))
  e2e_focus "$settings"
  e2e_keys Escape
  e2e_wait_gone '^Настройки$' 10

  # The game played to its end (greedy colours), the results, then the hall of fame.
  board_at=$(python3 "$here/board.py" locate "$E2E_TMP/board.ppm")
  deadline=$((SECONDS + $(e2e_patient 240)))
  while [ -z "$(e2e_find_window '^Результаты игры$')" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the game did not end in time"
    e2e_ppm "$E2E_TMP/board.ppm"
    colour=$(BOARD_AT=$board_at python3 "$here/board.py" greedy "$E2E_TMP/board.ppm" 2>/dev/null || echo 0)
    if [ "$colour" = 0 ]; then
      sleep 0.2
      continue
    fi
    e2e_focus "$main"
    e2e_keys "$colour"
    sleep 0.15
  done
  results=$(e2e_wait_window '^Результаты игры$' 5)
  sleep 0.5
  # shellcheck disable=SC2046
  picture results $(geometry "$results")
  e2e_focus "$results"
  e2e_keys Return
  hall=""
  deadline=$((SECONDS + $(e2e_patient 30)))
  while [ $SECONDS -lt $deadline ]; do
    if box=$(e2e_find_window '^Morvik$') && [ -n "$box" ]; then
      e2e_focus "$box"
      e2e_keys Escape # no replay
      e2e_wait_gone '^Morvik$' 10
      e2e_wait_gone '^Результаты игры$' 10
      sleep 0.5
      e2e_focus "$main"
      e2e_keys F3 # autostart began the next game: stop it, then open the hall of fame
      box=$(e2e_wait_window '^Morvik$' 10)
      e2e_focus "$box"
      e2e_keys Return
      e2e_wait_gone '^Morvik$' 10
      e2e_focus "$main"
      e2e_keys F6
      hall=$(e2e_wait_window '^Зал славы$' 10)
      break
    fi
    hall=$(e2e_find_window '^Зал славы$')
    [ -n "$hall" ] && break
    sleep 0.1
  done
  [ -n "$hall" ] || e2e_fail "no hall of fame after the results"
  sleep 0.5
  # shellcheck disable=SC2046
  picture hall-of-fame $(geometry "$hall")
  e2e_focus "$hall"
  e2e_keys Escape
fi

e2e_log "looks checked"
