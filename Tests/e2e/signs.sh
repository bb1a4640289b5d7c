#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The colour signs end to end under a private Xvfb, from a fresh folder: a profile is created,
# a classic game started (F2) and its board read from the screen; the signs are switched on in
# the settings (F7, page "Плитки", "Знаки цветов", "ОК"); the same board is then read again and
# every coloured tile carries its colour's sign; the option is stored in the profile.
# Usage: signs.sh BIN_DIR ARTEFACTS_DIR   (BIN_DIR holds morvik and Music/)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin_dir=$(cd "$1" && pwd)
mkdir -p "$2"
E2E_ARTEFACTS=$(cd "$2" && pwd)/signs
rm -rf "$E2E_ARTEFACTS"
mkdir -p "$E2E_ARTEFACTS"
E2E_TMP=$(mktemp -d)
# shellcheck source=x11.sh
source "$here/x11.sh"
trap 'e2e_cleanup; rm -rf "$E2E_TMP"' EXIT

for tool in Xvfb xdotool /usr/bin/import iconv python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

game="$E2E_TMP/game"
mkdir -p "$game" "$E2E_TMP/home" "$E2E_TMP/config" "$E2E_TMP/runtime"
chmod 700 "$E2E_TMP/runtime"
cp "$bin_dir/morvik" "$game/"
cp -r "$bin_dir/Music" "$game/"
ini="$game/morvik.ini"
export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

e2e_start_x
caption_re='^Morvik 1\.2 final\. Расклад #[0-9]+$'
(cd "$E2E_TMP" && exec "$game/morvik" >>"$E2E_ARTEFACTS/morvik.log" 2>&1) &
GAME_PID=$!
E2E_PIDS+=("$GAME_PID")

# A profile, created and chosen.
wid=$(e2e_wait_window '^Игроки$' 30)
e2e_focus "$wid"
e2e_keys Tab space
input=$(e2e_wait_window '^Создание игрока$' 10)
e2e_focus "$input"
xdotool type --delay 60 Tester
e2e_keys Return
e2e_wait_gone '^Создание игрока$' 10
e2e_focus "$wid"
e2e_keys Return
main=$(e2e_wait_window "$caption_re" 20)

# A game, its board complete on the screen, without signs.
e2e_focus "$main"
xdotool mousemove 0 0
e2e_keys F2
checked=""
deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ]; do
  sleep 0.5
  e2e_ppm "$E2E_TMP/plain.ppm"
  if python3 "$here/board.py" check "$E2E_TMP/plain.ppm" 2>"$E2E_TMP/check.err"; then
    checked=yes
    break
  fi
done
[ -n "$checked" ] || e2e_fail "board not on the screen: $(cat "$E2E_TMP/check.err")"
board_at=$(python3 "$here/board.py" locate "$E2E_TMP/plain.ppm")
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
deadline=$((SECONDS + 30))
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
