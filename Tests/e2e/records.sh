#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Games as files in the real game under a private Xvfb: a profile is created, F2 starts a classic
# game and a few colours are chosen; the program is closed through "Выход" and the game is kept
# beside the executable; a second start continues it with "Продолжить игру" on the same board;
# SIGTERM ends the program in the middle of the game and a third start continues it likewise;
# the game is played to its end, stopped from the automatic next game, saved with Ctrl+S through
# the file dialog, opened with Ctrl+O and stepped through with the arrow keys, Home and End.
# Screenshots go to the artefacts folder.
# Usage: records.sh BIN_DIR ARTEFACTS_DIR   (BIN_DIR holds morvik and Music/)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11.sh
source "$here/x11.sh"
e2e_prepare "$1" "$2" records Xvfb xdotool /usr/bin/import python3
# A profile on a small board, so that a whole game is played in a few seconds.
size=(26 10 15) # the narrowest board the settings allow: 390 pixels
printf '[GAMERS]\r\nLearner=Learner\r\n\r\n[OPTIONS_Learner]\r\nGameSizeMap=4\r\nGameWidth=%s\r\nGameHeight=%s\r\n' \
  "${size[0]}" "${size[1]}" >"$game/morvik.ini"
e2e_launch

wid=$(e2e_wait_window '^Игроки$' 30)
e2e_focus "$wid"
e2e_keys Return # the one profile
main=$(e2e_wait_window "$caption_re" 20)

e2e_focus "$main"
xdotool mousemove 0 0 # the pointer stays off the board: no highlight of its own
e2e_keys F2
wait_board() { # $1 what was done
  e2e_wait_board "$E2E_TMP/board.ppm" "${size[@]}" >/dev/null ||
    e2e_fail "no complete board after $1: $(cat "$E2E_TMP/check.err")"
  export BOARD_AT=$board_at
}
wait_board F2
e2e_shot started

settle() { e2e_settle "$1" "${size[@]}"; }
grid() { python3 "$here/board.py" grid "$1" "${size[@]}"; }

settle "$E2E_TMP/before-0.ppm"
for move in 1 2 3; do
  colour=$(python3 "$here/board.py" greedy "$E2E_TMP/before-$((move - 1)).ppm" "${size[@]}")
  [ "$colour" != 0 ] || e2e_fail "no free colour at move $move"
  e2e_focus "$main"
  e2e_keys "$colour"
  settle "$E2E_TMP/before-$move.ppm"
done
e2e_shot before-close
# The game is kept at every turn of a person, before any closing: a crash would lose nothing.
kept_games() { find "$game/interrupted" -name '*.morvik' 2>/dev/null | grep .; }
e2e_poll 10 "no game was kept during play" kept_games

# "Игра" > "Выход" (the last entry) and "Да": the game is kept beside the executable.
e2e_game_menu "$main" Up Return
box=$(e2e_wait_window '^Morvik$' 10)
e2e_focus "$box"
e2e_keys Return # "Да"
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT"
kept=$(kept_games || true)
[ -n "$kept" ] || e2e_fail "closing during the game kept no game beside the executable"
[ "$(wc -l <<<"$kept")" -eq 1 ] || e2e_fail "more than one kept game: $kept"
head -n 1 "$kept" | grep -qx 'morvik-game 1' || e2e_fail "the kept game is no record: $(head -c 200 "$kept")"
grep -qx 'end unfinished' "$kept" || e2e_fail "the kept game is not an unfinished one"

# ---- continued after a new start --------------------------------------------------------------
e2e_launch
wid=$(e2e_wait_window '^Игроки$' 30)
e2e_focus "$wid"
e2e_keys Return # the profile is preselected
main=$(e2e_wait_window "$caption_re" 20)
xdotool mousemove 0 0
e2e_game_menu "$main" Down Down Return # "Продолжить игру", after "Старт"
wait_board "Продолжить игру"
settle "$E2E_TMP/continued.ppm"
e2e_shot continued
[ "$(grid "$E2E_TMP/continued.ppm")" = "$(grid "$E2E_TMP/before-3.ppm")" ] ||
  e2e_fail "the continued game does not show the board it was closed on"

# ---- a termination signal (the session ending) in the middle of the game ----------------------
# One more colour, then the kept game is taken away: what the next start continues is what the
# signal's own closing kept.
colour=$(python3 "$here/board.py" greedy "$E2E_TMP/continued.ppm" "${size[@]}")
[ "$colour" != 0 ] || e2e_fail "no free colour after continuing"
e2e_focus "$main"
e2e_keys "$colour"
settle "$E2E_TMP/before-term.ppm"
rm -f "$kept"
kill -TERM "$GAME_PID"
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "SIGTERM ended the game with exit code $E2E_EXIT"
[ -s "$kept" ] || e2e_fail "SIGTERM during the game kept no game"
e2e_launch
wid=$(e2e_wait_window '^Игроки$' 30)
e2e_focus "$wid"
e2e_keys Return
main=$(e2e_wait_window "$caption_re" 20)
xdotool mousemove 0 0
e2e_game_menu "$main" Down Down Return # "Продолжить игру"
wait_board "Продолжить игру after SIGTERM"
settle "$E2E_TMP/continued-term.ppm"
e2e_shot continued-after-sigterm
[ "$(grid "$E2E_TMP/continued-term.ppm")" = "$(grid "$E2E_TMP/before-term.ppm")" ] ||
  e2e_fail "the game continued after SIGTERM does not show the board it was ended on"

# Played to its end with greedy colours.
moves=0
deadline=$((SECONDS + $(e2e_patient 240)))
while [ -z "$(e2e_find_window '^Результаты игры$')" ]; do
  [ $SECONDS -lt $deadline ] || e2e_fail "the game did not end in time ($moves moves)"
  e2e_ppm "$E2E_TMP/board.ppm"
  colour=$(python3 "$here/board.py" greedy "$E2E_TMP/board.ppm" "${size[@]}" 2>/dev/null || echo 0)
  if [ "$colour" = 0 ]; then
    sleep 0.2
    continue
  fi
  e2e_focus "$main"
  e2e_keys "$colour"
  moves=$((moves + 1))
  sleep 0.15
done
results=$(e2e_wait_window '^Результаты игры$' 5)
e2e_focus "$results"
e2e_keys Return # "Закрыть"
# Then the replay question or the hall of fame; either is closed with Escape.
deadline=$((SECONDS + $(e2e_patient 30)))
closed=""
while [ $SECONDS -lt $deadline ] && [ -z "$closed" ]; do
  for title in '^Morvik$' '^Зал славы$'; do
    w=$(e2e_find_window "$title")
    if [ -n "$w" ]; then
      e2e_focus "$w"
      e2e_keys Escape
      e2e_wait_gone "$title" 10
      closed=yes
      break
    fi
  done
  sleep 0.1
done
[ -n "$closed" ] || e2e_fail "neither the replay question nor the hall of fame after the results"
e2e_wait_gone '^Результаты игры$' 10

# The automatic next game is stopped (F3, "Да"): between games Ctrl+S saves the finished one.
sleep 1
e2e_focus "$main"
e2e_keys F3
box=$(e2e_wait_window '^Morvik$' 10)
e2e_focus "$box"
e2e_keys Return
e2e_wait_gone '^Morvik$' 10
[ ! -e "$kept" ] || e2e_fail "a game stopped between games left a kept game"
record="$E2E_TMP/home/finished.morvik"
file_dialog() { # $1 title, $2 path
  local d
  d=$(e2e_wait_window "$1" 20)
  e2e_focus "$d"
  sleep 0.5
  e2e_keys ctrl+a
  xdotool type --delay 20 "$2"
  e2e_keys Return
  e2e_wait_gone "$1" 10
}
e2e_focus "$main"
e2e_keys ctrl+s
file_dialog '^Сохранить игру$' "$record"
e2e_poll 10 "Ctrl+S wrote no record" test -s "$record"
grep -qx 'end finished' "$record" || e2e_fail "the saved game is not the finished one"

# ---- opened and stepped through ---------------------------------------------------------------
e2e_focus "$main"
e2e_keys ctrl+o
file_dialog '^Открыть игру$' "$record"
wait_board "Ctrl+O"
step() { # $1 key, $2 file
  e2e_focus "$main"
  e2e_keys "$1"
  settle "$2"
}
step Right "$E2E_TMP/w1.ppm"
step Left "$E2E_TMP/w0.ppm"
step End "$E2E_TMP/wend.ppm"
e2e_shot watched-end
step Home "$E2E_TMP/whome.ppm"
[ "$(grid "$E2E_TMP/w1.ppm")" != "$(grid "$E2E_TMP/w0.ppm")" ] || e2e_fail "→ did not show the next move"
[ "$(grid "$E2E_TMP/whome.ppm")" = "$(grid "$E2E_TMP/w0.ppm")" ] || e2e_fail "Home is not the first position"
[ "$(grid "$E2E_TMP/wend.ppm")" != "$(grid "$E2E_TMP/w0.ppm")" ] || e2e_fail "End shows the first position"
e2e_focus "$main"
e2e_keys Escape
sleep 0.5
e2e_ppm "$E2E_TMP/idle.ppm"
! python3 "$here/board.py" check "$E2E_TMP/idle.ppm" "${size[@]}" >/dev/null 2>&1 || e2e_fail "Esc left the board shown"

e2e_game_menu "$main" Up Return
box=$(e2e_wait_window '^Morvik$' 10)
e2e_focus "$box"
e2e_keys Return
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT"
e2e_log "PASS"
