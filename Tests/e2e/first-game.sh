#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game end to end under a private Xvfb, from a fresh folder:
#   1. no settings file: the profiles dialog appears; a profile is created by typing its name and
#      chosen; the main window's caption shows the layout number;
#   2. F2 starts a classic game against the easy computer, played to its end with the keys 1..7
#      (greedy colours read from the screen); the results dialog is closed, then the replay
#      question or the hall of fame; the program is closed through its confirmation;
#   3. the settings file holds the profile, its options, its layout number and mode, and the
#      hall-of-fame table when the person won;
#   4. a second start preselects the profile and shows the same layout number.
# Screenshots of every step go to the artefacts folder.
# Usage: first-game.sh BIN_DIR ARTEFACTS_DIR   (BIN_DIR holds morvik, Music/ and morvik.html)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11.sh
source "$here/x11.sh"
e2e_prepare "$1" "$2" first-game Xvfb xdotool /usr/bin/import iconv python3
# A portable copy of the game: the settings file starts absent.
ini="$game/morvik.ini"
name="Tester"


# ---- 1. fresh folder, profile created and chosen ------------------------------------------------
e2e_launch
wid=$(e2e_wait_window '^Игроки$' 30)
e2e_poll 10 "the settings file was not created beside the executable" test -f "$ini"
[ ! -s "$ini" ] || e2e_fail "a fresh settings file is not empty"
e2e_shot profiles-empty
# Two profiles, so that the second start shows which one is preselected: "Aaron" sorts first.
create_profile() { # $1 name, $2 keys that reach "Создать"
  e2e_focus "$wid"
  # shellcheck disable=SC2086
  e2e_keys $2 space
  local input
  input=$(e2e_wait_window '^Создание игрока$' 10)
  e2e_focus "$input"
  xdotool type --delay 60 "$1"
  e2e_shot "profile-name-$1"
  e2e_keys Return
  e2e_wait_gone '^Создание игрока$' 10
  e2e_wait_ini_value "$ini" GAMERS "$1" "$1" 15 "profile $1 not in [GAMERS]"
}
# Empty list: the list box has the focus and "Создать" is the next control ("Выбор" is disabled).
create_profile Aaron Tab
# Now "Выбор" has the focus and "Создать" follows it.
create_profile "$name" Tab
e2e_shot profiles-created
e2e_focus "$wid"
e2e_keys Return # "Выбор" has the focus and is the default button
main=$(e2e_wait_window "$caption_re" 20)
caption=$(e2e_title "$main")
code1=${caption##*#}
e2e_log "main window: $caption"
e2e_shot main-window
[ -z "$(e2e_find_window '^Morvik$')" ] || e2e_fail "a message box appeared at start-up"

# ---- 2. a classic game against the easy computer --------------------------------------------
e2e_focus "$main"
xdotool mousemove 0 0
e2e_keys F2
# The board is drawn with progress: check it once it is complete (bounded).
e2e_wait_board "$E2E_TMP/board.ppm" || e2e_fail "board pixels do not match the painter's colours: $(cat "$E2E_TMP/check.err")"
e2e_shot game-started
# Bounded by key presses (a 50 x 25 game against the easy computer ends in far fewer), with a
# time limit only against a hang: each press waits on a screenshot and its analysis, which on a
# loaded machine take seconds.
moves=0
deadline=$((SECONDS + 900))
while [ -z "$(e2e_find_window '^Результаты игры$')" ]; do
  [ $moves -lt 400 ] || e2e_fail "the game did not end after $moves key presses"
  [ $SECONDS -lt $deadline ] || e2e_fail "the game did not end within 900 s ($moves moves)"
  e2e_ppm "$E2E_TMP/board.ppm"
  colour=$(BOARD_AT=$board_at python3 "$here/board.py" greedy "$E2E_TMP/board.ppm" 2>/dev/null || echo 0)
  if [ "$colour" = 0 ]; then # no board (the results are coming) or no free colour
    sleep 0.2
    continue
  fi
  e2e_focus "$main"
  e2e_keys "$colour"
  moves=$((moves + 1))
  [ $((moves % 10)) -eq 1 ] && e2e_shot "move-$moves"
  sleep 0.15
done
e2e_log "game over after $moves key presses"
results=$(e2e_wait_window '^Результаты игры$' 5)
e2e_shot results
e2e_focus "$results"
e2e_keys Return # "Закрыть"

# Closing the results asks to replay a lost round (over the results dialog); a won round shows
# the hall of fame instead.
won=""
deadline=$((SECONDS + $(e2e_patient 30)))
while [ $SECONDS -lt $deadline ]; do
  if [ -n "$(e2e_find_window '^Morvik$')" ]; then
    won=no
    box=$(e2e_find_window '^Morvik$')
    e2e_shot replay-question
    e2e_focus "$box"
    e2e_keys Escape # "Нет": a new layout
    e2e_wait_gone '^Morvik$' 10
    break
  fi
  if [ -n "$(e2e_find_window '^Зал славы$')" ]; then
    won=yes
    hall=$(e2e_find_window '^Зал славы$')
    e2e_shot hall-of-fame
    e2e_focus "$hall"
    e2e_keys Escape
    e2e_wait_gone '^Зал славы$' 10
    break
  fi
  sleep 0.1
done
[ -n "$won" ] ||
  e2e_fail "neither the replay question nor the hall of fame after the results in time;" \
    "visible windows: $(e2e_windows)"
e2e_wait_gone '^Результаты игры$' 10
e2e_log "person won: $won"

# Autostart: the next game runs. Close the program through "Игра" > "Выход" and confirm.
# Until the next game starts the caption still names the layout just played: wait for a new one
# (a new random layout number).
main=$(e2e_wait_window "$caption_re" 10)
next_layout() {
  local title
  title=$(e2e_title "$main")
  echo "$title"
  [[ "$title" =~ $caption_re ]] && [ "${title##*#}" != "$code1" ]
}
e2e_poll 15 "the next game did not start on a new layout after $code1" next_layout
caption=$(e2e_title "$main")
code2=${caption##*#}
e2e_shot next-game
e2e_game_menu "$main" Up Return # the last entry of the menu is "Выход"
box=$(e2e_wait_window '^Morvik$' 10)
e2e_shot close-question
e2e_focus "$box"
e2e_keys Return # "Да"
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT"

# ---- 3. the settings file -------------------------------------------------------------------
cp "$ini" "$E2E_ARTEFACTS/morvik.ini"
section="OPTIONS_$name"
e2e_ini_has_section "$ini" "$section" || e2e_fail "no [$section]"
for key in GameSizeMap GameSizeTile GameBrain GameVictory SelectAutostart SelectMusic Volume \
  VisibleStatusBar; do
  [ -n "$(e2e_ini_value "$ini" "$section" "$key")" ] || e2e_fail "option $key not stored"
done
[ "$(e2e_ini_value "$ini" "$section" GameSizeMap)" = 1 ] || e2e_fail "GameSizeMap is not the default"
[ "$(e2e_ini_value "$ini" "$section" Other_CodeGame)" = "$code2" ] ||
  e2e_fail "Other_CodeGame is not the layout $code2 of the caption"
[ "$(e2e_ini_value "$ini" "$section" Other_ClassicMode)" = 1 ] || e2e_fail "Other_ClassicMode is not 1"
[ "$(e2e_ini_value "$ini" OTHER LastLogin)" = "$name" ] || e2e_fail "LastLogin is not $name"
if [ "$won" = yes ]; then
  e2e_ini_text "$ini" | awk '/^\[MAP01\]/{s=1;next} /^\[/{s=0} s' | grep -q "^Place1=.*$name" ||
    e2e_fail "the hall-of-fame table [MAP01] does not hold the winner"
  [ -n "$(e2e_ini_value "$ini" MAP01 Check)" ] || e2e_fail "the hall-of-fame table has no Check"
else
  ! e2e_ini_text "$ini" | grep -q "^Place.*=.*$name" || e2e_fail "a lost game entered the hall of fame"
fi
e2e_log "settings file checked (layouts $code1 then $code2)"

# ---- 4. second start --------------------------------------------------------------------------
e2e_launch
wid=$(e2e_wait_window '^Игроки$' 30)
e2e_shot second-start
e2e_focus "$wid"
e2e_keys Return # the preselected profile
main=$(e2e_wait_window "$caption_re" 20)
caption=$(e2e_title "$main")
[ "${caption##*#}" = "$code2" ] || e2e_fail "second start shows layout ${caption##*#}, not $code2"
e2e_shot second-main-window
e2e_game_menu "$main" Up Return
box=$(e2e_wait_window '^Morvik$' 10)
e2e_focus "$box"
e2e_keys Return
e2e_wait_exit "$GAME_PID" 20
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the game ended with exit code $E2E_EXIT"
e2e_log "PASS"
