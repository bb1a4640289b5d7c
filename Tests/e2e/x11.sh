# Helpers for driving the real game under a private Xvfb. Sourced by the end-to-end scripts.
# Every wait has a time bound; every process started here is stopped by its own id on exit.

export LC_ALL=C.UTF-8
E2E_PIDS=()
E2E_STEP=0

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*"; }
e2e_fail() {
  e2e_log "FAIL: $*"
  e2e_shot "failure" || true
  exit 1
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}

# Starts Xvfb on a display number it picks itself (-displayfd), exports DISPLAY.
e2e_start_x() {
  local out="$E2E_TMP/display" i
  : >"$out"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$out" 2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!)
  for i in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.1
  done
  [ -s "$out" ] || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  export DISPLAY=":$(tr -d '[:space:]' <"$out")"
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

# Id of a visible window whose title matches the regular expression, waiting up to $2 seconds.
e2e_wait_window() {
  local wid
  wid=$(timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
  [ -n "$wid" ] || e2e_fail "no window named /$1/ within ${2:-20} s"
  echo "$wid"
}

# Id of a visible window matching the title now, or nothing.
e2e_find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

# Waits until no visible window matches the title (up to $2 seconds).
e2e_wait_gone() {
  local i
  for i in $(seq $((${2:-10} * 10))); do
    [ -z "$(e2e_find_window "$1")" ] && return 0
    sleep 0.1
  done
  e2e_fail "window /$1/ still open after ${2:-10} s"
}

# There is no window manager: give the window the keyboard ourselves.
e2e_focus() { timeout 5 xdotool windowfocus --sync "$1" || e2e_fail "cannot focus window $1"; }
e2e_keys() { xdotool key --delay 40 "$@"; }
e2e_title() { xdotool getwindowname "$1"; }

# Waits up to $2 seconds for the process to end; its exit code in E2E_EXIT.
e2e_wait_exit() {
  local i
  for i in $(seq $((${2:-15} * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      E2E_EXIT=0
      wait "$1" || E2E_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "process $1 did not end within ${2:-15} s"
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
