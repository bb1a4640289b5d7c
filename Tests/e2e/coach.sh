#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Hint and take-back in the real game under a private Xvfb: a profile is created, F2 starts a
# classic game, a few colours are chosen by keys; Ctrl+Z, then Ctrl+Я under the Russian layout,
# must bring back on screen the board seen before each of the last two choices; F9 must change only tiles of one colour that
# the person could take, and that colour's key must then take them. Closed through "Выход".
# Screenshots go to the artefacts folder.
# Usage: coach.sh BIN_DIR ARTEFACTS_DIR   (BIN_DIR holds morvik and Music/)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11.sh
source "$here/x11.sh"
e2e_prepare "$1" "$2" coach Xvfb xdotool setxkbmap /usr/bin/import python3
e2e_launch

e2e_new_profile Learner
main=$(e2e_wait_window "$caption_re" 20)

e2e_focus "$main"
xdotool mousemove 0 0 # the pointer stays off the board: no highlight of its own
e2e_keys F2
e2e_wait_board "$E2E_TMP/board.ppm" || e2e_fail "no complete board after F2: $(cat "$E2E_TMP/check.err")"
export BOARD_AT=$board_at
e2e_shot started

settle() { e2e_settle "$1"; }
grid() { python3 "$here/board.py" grid "$1"; }
# Settles $1 once it differs from the settled board $2 in some pixel: a key's effect may take a
# while on a loaded machine, and the board as it was is not its result.
settle_changed() { # $1 file, $2 board before the key
  changed_from() {
    e2e_ppm "$1"
    [ -n "$(python3 "$here/board.py" diff "$1" "$2" | sed -n 2p)" ]
  }
  e2e_poll 60 "the board did not change from $(basename "$2")" changed_from "$1" "$2"
  settle "$1"
}

settle "$E2E_TMP/before-0.ppm"
for move in 1 2 3; do
  colour=$(python3 "$here/board.py" greedy "$E2E_TMP/before-$((move - 1)).ppm")
  [ "$colour" != 0 ] || e2e_fail "no free colour at move $move"
  e2e_focus "$main"
  e2e_keys "$colour"
  settle_changed "$E2E_TMP/before-$move.ppm" "$E2E_TMP/before-$((move - 1)).ppm"
  [ "$(grid "$E2E_TMP/before-$move.ppm")" != "$(grid "$E2E_TMP/before-$((move - 1)).ppm")" ] ||
    e2e_fail "move $move (key $colour) changed nothing"
done
e2e_shot after-three-moves

# The second take-back with the Russian layout: the same physical key, now "Я". The rest of
# the game stays on that layout (digits and F9 are the same keys).
cp "$E2E_TMP/before-3.ppm" "$E2E_TMP/shown.ppm"
for back in 2 1; do
  e2e_focus "$main"
  if [ "$back" = 2 ]; then
    e2e_keys ctrl+z
  else
    setxkbmap -layout ru || e2e_fail "cannot switch to the Russian layout"
    sleep 0.3
    e2e_keys ctrl+Cyrillic_ya
  fi
  settle_changed "$E2E_TMP/undo-$back.ppm" "$E2E_TMP/shown.ppm"
  e2e_shot "undo-to-$back"
  [ "$(grid "$E2E_TMP/undo-$back.ppm")" = "$(grid "$E2E_TMP/before-$back.ppm")" ] ||
    e2e_fail "Ctrl+Z did not bring back the board before choice $((back + 1))"
  # Pixel for pixel, the white outline of the territory to move included.
  changed=$(python3 "$here/board.py" diff "$E2E_TMP/undo-$back.ppm" "$E2E_TMP/before-$back.ppm" |
    sed -n 2p)
  [ -z "$changed" ] ||
    e2e_fail "after the take-back to choice $((back + 1)) these tiles differ in pixels: $changed"
  cp "$E2E_TMP/undo-$back.ppm" "$E2E_TMP/shown.ppm"
done

# The hint is the master level's choice. It may take a while to show on a loaded machine, and
# it may light nothing at all: a colour that takes no tile now but keeps it from a rival. Then
# the person plays on (the greedy colour) and asks again, up to five times.
lit_within() { # $1 seconds: the board differs from shown.ppm
  local deadline=$((SECONDS + $(e2e_patient "$1")))
  while [ $SECONDS -lt $deadline ]; do
    e2e_ppm "$E2E_TMP/hint.ppm"
    [ -n "$(python3 "$here/board.py" diff "$E2E_TMP/hint.ppm" "$E2E_TMP/shown.ppm" | sed -n 2p)" ] &&
      return 0
    sleep 0.3
  done
  return 1
}
hinted=""
for attempt in 1 2 3 4 5; do
  e2e_focus "$main"
  e2e_keys F9
  if lit_within 20; then
    hinted=yes
    break
  fi
  e2e_log "hint $attempt lit nothing; playing on"
  colour=$(python3 "$here/board.py" greedy "$E2E_TMP/shown.ppm")
  [ "$colour" != 0 ] || e2e_fail "no free colour after hint $attempt"
  e2e_focus "$main"
  e2e_keys "$colour"
  settle_changed "$E2E_TMP/played.ppm" "$E2E_TMP/shown.ppm"
  cp "$E2E_TMP/played.ppm" "$E2E_TMP/shown.ppm"
done
[ -n "$hinted" ] || e2e_fail "F9 showed nothing on the board five times in a row"
settle "$E2E_TMP/hint.ppm"
e2e_shot hint
[ "$(grid "$E2E_TMP/hint.ppm")" = "$(grid "$E2E_TMP/shown.ppm")" ] || e2e_fail "F9 changed a tile's colour"
diff=$(python3 "$here/board.py" diff "$E2E_TMP/hint.ppm" "$E2E_TMP/shown.ppm")
hint_colour=$(sed -n 1p <<<"$diff")
hint_tiles=$(sed -n 2p <<<"$diff")
e2e_log "hint: colour $hint_colour on tiles $hint_tiles"
[[ "$hint_colour" =~ ^[1-7]$ ]] || e2e_fail "F9 lit tiles of several colours: $hint_colour"
own=$(python3 "$here/board.py" colour "$E2E_TMP/shown.ppm")
[ "$hint_colour" != "$own" ] || e2e_fail "F9 lit the person's own colour"

# The hinted key takes every lit tile.
e2e_focus "$main"
e2e_keys "$hint_colour"
settle_changed "$E2E_TMP/taken.ppm" "$E2E_TMP/hint.ppm"
e2e_shot hint-taken
python3 - "$E2E_TMP/taken.ppm" "$hint_tiles" "$here" <<'PY' || e2e_fail "the hinted colour did not take the lit tiles"
import sys
sys.path.insert(0, sys.argv[3])
import board
shot = board.Shot(sys.argv[1])
origin = tuple(int(v) for v in __import__('os').environ['BOARD_AT'].split(','))
grid = board.tiles(shot, origin, 50, 25, 15)
own = board.flood(grid, (0, 0))
lit = [tuple(int(v) for v in t.split(',')) for t in sys.argv[2].split()]
sys.exit(0 if all(t in own for t in lit) else 1)
PY

e2e_game_menu "$main" Up Return # "Выход"
box=$(e2e_wait_window '^Morvik$' 10)
e2e_focus "$box"
e2e_keys Return # "Да"
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT"
e2e_log "PASS"
