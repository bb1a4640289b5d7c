#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The colour signs end to end under a private Xvfb, from a fresh folder: a profile is created,
# a classic game started (F2) and its board read from the screen; the signs are switched on in
# the settings (F7, page "Плитки", "Знаки цветов", "ОК"); the same board is then read again and
# every coloured tile carries its colour's sign; the option is stored in the profile.
# Usage: signs.sh BIN_DIR ARTEFACTS_DIR   (BIN_DIR holds morvik and Music/)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11.sh
source "$here/x11.sh"
e2e_prepare "$1" "$2" signs Xvfb xdotool /usr/bin/import iconv python3
ini="$game/morvik.ini"
e2e_launch

# A profile, created and chosen.
e2e_new_profile Tester
main=$(e2e_wait_window "$caption_re" 20)

# A game, its board complete on the screen, without signs.
e2e_focus "$main"
xdotool mousemove 0 0
e2e_keys F2
e2e_wait_board "$E2E_TMP/plain.ppm" || e2e_fail "board not on the screen: $(cat "$E2E_TMP/check.err")"
e2e_shot board-plain

# F7: the dialog opens with "ОК" focused; Tab past "Отмена" and "По умолчанию" reaches the page
# tabs, Right twice selects "Плитки", Tab past the four look lists reaches the check box.
e2e_focus "$main"
e2e_keys F7
dialog=$(e2e_wait_window '^Настройки$' 10)
e2e_focus "$dialog"
e2e_keys Tab Tab Tab Right Right
sleep 0.3
e2e_keys Tab Tab Tab Tab Tab space
sleep 0.3
e2e_shot settings-signs-on
e2e_keys Return # "ОК" is the default button
e2e_wait_gone '^Настройки$' 10
e2e_wait_ini_value "$ini" OPTIONS_Tester TileSigns 1 15 "TileSigns=1 not stored"

# The same board, now with a sign on every coloured tile.
signed=""
deadline=$((SECONDS + $(e2e_patient 30)))
while [ $SECONDS -lt $deadline ]; do
  sleep 0.3
  e2e_ppm "$E2E_TMP/signs.ppm"
  if BOARD_AT=$board_at python3 "$here/board.py" signs "$E2E_TMP/signs.ppm" "$E2E_TMP/plain.ppm" \
    2>"$E2E_TMP/signs.err"; then
    signed=yes
    break
  fi
done
e2e_shot board-signs
[ -n "$signed" ] || e2e_fail "no colour signs on the board: $(cat "$E2E_TMP/signs.err")"

kill "$GAME_PID"
e2e_log "PASS"
