# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Helpers for driving the real game under a private Xvfb. Sourced by the end-to-end scripts, which
# set E2E_TMP (a private folder) and E2E_ARTEFACTS (screenshots) first.
# Every wait has a time bound; every process started here is stopped by its own id on exit.

export LC_ALL=C.UTF-8
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_PIDS=()
E2E_STEP=0
# Every time bound below is multiplied by this: a sanitized build runs several times slower, and
# its run sets a larger factor. A bound only limits how long a failure takes to be reported.
E2E_PATIENCE=${E2E_PATIENCE:-1}
e2e_patient() { echo $(($1 * E2E_PATIENCE)); }

# Log lines go to standard error: a failure met inside a command substitution is still seen.
e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*" >&2; }
e2e_fail() {
  e2e_log "FAIL: $*"
  e2e_shot "failure" || true
  exit 1
}

# A command that failed without a message of its own (set -e) is named with its line.
# Only the script's own shell reports: a command substitution's failure is the caller's to judge.
e2e_error() {
  [ "$BASH_SUBSHELL" -eq 0 ] || return 0
  e2e_log "FAIL: exit code $1 at line $2: $3"
}

# On a failure: whether the game was still running, and the end of what it printed (a
# sanitizer's report, a Qt warning), so that the log of the test alone tells what happened.
e2e_report() {
  local rc=0 log="${E2E_ARTEFACTS:-}/morvik.log"
  if [ -n "${GAME_PID:-}" ] && [ "$GAME_PID" != "${E2E_WAITED:-}" ] &&
    ! kill -0 "$GAME_PID" 2>/dev/null; then
    wait "$GAME_PID" 2>/dev/null || rc=$?
    e2e_log "the game had ended by itself, exit code $rc"
  fi
  if [ -s "$log" ]; then
    e2e_log "the last lines the game printed ($log):"
    tail -n 60 "$log" >&2
  fi
}

# The exit trap: the report of a failure, then every process stopped and the folder removed.
e2e_on_exit() {
  [ "$1" -eq 0 ] || [ "$1" -eq 77 ] || e2e_report
  e2e_cleanup
  rm -rf "${E2E_TMP:?}"
}

# The traps every script sets once E2E_TMP exists: a failing line named, and the exit's clean-up.
e2e_traps() {
  set -E
  trap 'e2e_error $? $LINENO "$BASH_COMMAND"' ERR
  trap 'e2e_on_exit $?' EXIT
}

e2e_cleanup() {
  local pid i
  # The newest first: the game goes before its X server, which it would otherwise outlive.
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[i]}" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}

# Starts Xvfb on a display number it picks itself (-displayfd), exports DISPLAY. Two servers
# starting at the same moment could pick the same free number, so the scripts running at once
# take turns to start theirs: the next one starts when this one has its display (the server
# itself does not hold the turn).
e2e_start_x() {
  local out="${E2E_TMP:?}/display" display turn
  : >"$out"
  exec {turn}>>"${TMPDIR:-/tmp}/morvik-e2e-xvfb.lock"
  flock -w 120 "$turn" || e2e_fail "no turn to start Xvfb in 120 s"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$out" {turn}>&- \
    2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!)
  for _ in $(seq 300); do
    [ -s "$out" ] && break
    sleep 0.1
  done
  exec {turn}>&-
  [ -s "$out" ] || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  display=$(tr -d '[:space:]' <"$out")
  export DISPLAY=":$display"
  xdotool mousemove 0 0
  e2e_log "Xvfb on $DISPLAY"
}

# Screenshot of the whole screen as an artefact: NN-name.png.
e2e_shot() {
  E2E_STEP=$((E2E_STEP + 1))
  local file
  file="$E2E_ARTEFACTS/$(printf '%02d' "$E2E_STEP")-$1.png"
  /usr/bin/import -window root "$file" 2>/dev/null && e2e_log "screenshot $file"
}

# The whole screen as a binary PPM for board.py.
e2e_ppm() { /usr/bin/import -window root -depth 8 "ppm:$1" 2>/dev/null; }

# The ids that "xdotool search" with these arguments finds, one per line; nothing when none, and
# never a failure. This xdotool gives up with a BadWindow error when a window it is looking at
# goes away (a menu closing, a tool tip): the search is then made again.
e2e_search() {
  local out _
  for _ in $(seq 20); do
    out=$(xdotool search "$@" 2>"$E2E_TMP/search.err") || true
    if ! grep -q 'X Error' "$E2E_TMP/search.err"; then
      [ -z "$out" ] || printf '%s\n' "$out"
      return 0
    fi
    sleep 0.05
  done
}

# The first id a search finds, or nothing.
e2e_search_first() {
  local ids
  ids=$(e2e_search "$@")
  printf '%s' "${ids%%$'\n'*}"
}

# Titles of the visible windows, for failure messages.
e2e_windows() {
  local w names=""
  for w in $(e2e_search --onlyvisible --name ''); do
    names+="\"$(xdotool getwindowname "$w" 2>/dev/null || true)\" "
  done
  echo "${names:-none}"
}

# Id of a visible window whose title matches the regular expression, waiting up to $2 seconds.
e2e_wait_window() {
  local wid seconds deadline
  seconds=$(e2e_patient "${2:-20}")
  deadline=$((SECONDS + seconds))
  while wid=$(e2e_search_first --onlyvisible --name "$1") && [ -z "$wid" ]; do
    [ $SECONDS -lt $deadline ] ||
      e2e_fail "no window named /$1/ within $seconds s; visible windows: $(e2e_windows)"
    sleep 0.1
  done
  echo "$wid"
}

# Runs the command until it succeeds, every 0.2 s for up to $1 seconds; otherwise fails with the
# message $2 and what the command printed on its last try. Every check of something the program
# does in its own time goes through here (or e2e_wait_ini_value): a single read can come early.
e2e_poll() {
  local seconds what=$2 last deadline
  seconds=$(e2e_patient "$1")
  shift 2
  deadline=$((SECONDS + seconds))
  while :; do
    if last=$("$@" 2>&1); then
      return 0
    fi
    [ $SECONDS -lt $deadline ] || e2e_fail "$what (waited $seconds s; last seen: ${last:-nothing})"
    sleep 0.2
  done
}

# Id of a visible window matching the title now, or nothing.
e2e_find_window() { e2e_search_first --onlyvisible --name "$1"; }

# Waits until no visible window matches the title (up to $2 seconds).
e2e_wait_gone() {
  local _ seconds
  seconds=$(e2e_patient "${2:-10}")
  for _ in $(seq $((seconds * 10))); do
    [ -z "$(e2e_find_window "$1")" ] && return 0
    sleep 0.1
  done
  e2e_fail "window /$1/ still open after $seconds s"
}

# Ids of the program's visible windows, on one line.
e2e_game_windows() {
  local ids
  ids=$(e2e_search --onlyvisible --classname '^morvik$')
  echo "${ids//$'\n'/ }"
}

# The "Игра" menu of window $1 opened with a click on its title; the keys that follow are sent
# once its popup is on the screen, and the call returns once the popup has gone. Keys sent
# before the popup shows would go to the board instead.
e2e_game_menu() {
  local win=$1 before popup="" w _ seconds
  seconds=$(e2e_patient 20)
  shift
  before=" $(e2e_game_windows) "
  e2e_focus "$win"
  xdotool mousemove --window "$win" 20 10 click 1
  for _ in $(seq $((seconds * 10))); do
    for w in $(e2e_game_windows); do
      [[ $before == *" $w "* ]] || popup=$w
    done
    [ -n "$popup" ] && break
    sleep 0.1
  done
  [ -n "$popup" ] ||
    e2e_fail "the menu did not open within $seconds s; visible windows: $(e2e_windows)"
  sleep 0.3 # the popup has taken the keyboard
  e2e_keys "$@"
  for _ in $(seq $((seconds * 10))); do
    [[ " $(e2e_game_windows) " == *" $popup "* ]] || return 0
    sleep 0.1
  done
  e2e_fail "the menu was still open $seconds s after the keys $*"
}

# There is no window manager: give the window the keyboard ourselves.
e2e_focus() { timeout 5 xdotool windowfocus --sync "$1" || e2e_fail "cannot focus window $1"; }
e2e_keys() { xdotool key --delay 40 "$@"; }
e2e_title() { xdotool getwindowname "$1"; }

# Waits up to $2 seconds for the process to end; its exit code in E2E_EXIT (read by the scripts).
# shellcheck disable=SC2034
e2e_wait_exit() {
  local _ seconds
  seconds=$(e2e_patient "${2:-15}")
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      E2E_EXIT=0
      E2E_WAITED=$1
      wait "$1" || E2E_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "process $1 did not end within $seconds s"
}

# The settings file as UTF-8 text with LF line ends.
e2e_ini_text() { iconv -f WINDOWS-1251 -t UTF-8 "$1" | tr -d '\r'; }

# Value of a key in a section of the settings file (first match, exact names).
e2e_ini_value() {
  e2e_ini_text "$1" | awk -v s="[$2]" -v k="$3" '
    /^\[/ { in_s = ($0 == s); next }
    in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }'
}

e2e_ini_has_section() { e2e_ini_text "$1" | grep -qx "\[$2\]"; }

# A section of the settings file as one line, for failure messages.
e2e_ini_section() {
  e2e_ini_text "$1" 2>/dev/null | awk -v s="[$2]" '/^\[/ { in_s = ($0 == s); next } in_s' |
    tr '\n' ' '
}

# Waits up to $5 seconds (10 by default) until key $3 of section $2 of the settings file $1 reads
# $4; otherwise fails with the message $6 and the value and section last seen. The program
# writes the file after the dialog that changed it has closed, in its own time.
e2e_wait_ini_value() {
  local seconds seen deadline
  seconds=$(e2e_patient "${5:-10}")
  deadline=$((SECONDS + seconds))
  while :; do
    seen=$(e2e_ini_value "$1" "$2" "$3" 2>/dev/null || true)
    [ "$seen" = "$4" ] && return 0
    if [ $SECONDS -ge $deadline ]; then
      e2e_fail "${6:-[$2] $3 is not $4} (waited $seconds s; last seen: $3=\"$seen\";" \
        "[$2]: $(e2e_ini_section "$1" "$2"))"
    fi
    sleep 0.2
  done
}

# ---- What every game script begins with ------------------------------------------------------

# The main window's caption while a layout is chosen.
# shellcheck disable=SC2034 # read by the scripts that source this file
caption_re='^Morvik 1\.2 final\. Расклад #[0-9]+$'

# The artefacts folder NAME under ARTEFACTS_DIR, a private temporary folder removed on exit with
# every process started, the tools checked (exit 77, "skipped", when one is missing), a portable
# copy of the game from BIN_DIR in $game (morvik, Music/ and the manual when it was built), a
# private home, and the X server. Sets bin_dir, game, E2E_ARTEFACTS and E2E_TMP.
# Usage: e2e_prepare BIN_DIR ARTEFACTS_DIR NAME TOOL...
e2e_prepare() {
  bin_dir=$(cd "$1" && pwd)
  mkdir -p "$2"
  E2E_ARTEFACTS=$(cd "$2" && pwd)/$3
  rm -rf "$E2E_ARTEFACTS"
  mkdir -p "$E2E_ARTEFACTS"
  shift 3
  E2E_TMP=$(mktemp -d)
  e2e_traps
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "SKIP: $tool missing"
      exit 77
    }
  done
  game="$E2E_TMP/game"
  mkdir -p "$game" "$E2E_TMP/home" "$E2E_TMP/config" "$E2E_TMP/runtime"
  chmod 700 "$E2E_TMP/runtime"
  cp "$bin_dir/morvik" "$game/"
  cp -r "$bin_dir/Music" "$game/"
  cp "$bin_dir/morvik.html" "$game/" 2>/dev/null || true
  export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
  export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
  e2e_start_x
}

# Starts the game copy; GAME_PID is its process.
e2e_launch() {
  (cd "$E2E_TMP" && exec "$game/morvik" >>"$E2E_ARTEFACTS/morvik.log" 2>&1) &
  GAME_PID=$!
  E2E_PIDS+=("$GAME_PID")
}

# On the profiles dialog of an empty list: a profile NAME created and chosen.
e2e_new_profile() {
  local list input
  list=$(e2e_wait_window '^Игроки$' 30)
  e2e_focus "$list"
  e2e_keys Tab space # "Создать"
  input=$(e2e_wait_window '^Создание игрока$' 10)
  e2e_focus "$input"
  xdotool type --delay 60 "$1"
  e2e_keys Return
  e2e_wait_gone '^Создание игрока$' 10
  e2e_focus "$list"
  e2e_keys Return
}

# After F2: waits up to 60 s (times the patience) until the whole board is on the screen as the
# painter draws it, saved in FILE; sets board_at to its place. False when it does not come.
# Usage: e2e_wait_board FILE [WIDTH HEIGHT TILE]   (the default board when no size is given)
e2e_wait_board() {
  # shellcheck disable=SC2034 # read by the scripts that source this file
  board_at=""
  local file=$1 deadline=$((SECONDS + $(e2e_patient 60)))
  shift
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.5
    e2e_ppm "$file"
    if python3 "$E2E_HERE/board.py" check "$file" "$@" 2>"$E2E_TMP/check.err"; then
      # shellcheck disable=SC2034
      board_at=$(python3 "$E2E_HERE/board.py" locate "$file" "$@")
      return 0
    fi
  done
  return 1
}

# A settled board: three equal screenshots in a row, 0.3 s apart (the computer answers within
# the pauses), within 30 s (times the patience). $1 the screenshot file; the rest go to
# board.py's grid (a size).
e2e_settle() {
  local file=$1 prev="" now same=0 deadline=$((SECONDS + $(e2e_patient 30)))
  shift
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.3
    e2e_ppm "$file"
    now=$(python3 "$E2E_HERE/board.py" grid "$file" "$@")
    if [ "$now" = "$prev" ]; then
      same=$((same + 1))
      [ $same -ge 2 ] && return 0
    else
      same=0
    fi
    prev=$now
  done
  e2e_fail "the board did not settle in time; last seen: $(head -c 300 <<<"$now")"
}
