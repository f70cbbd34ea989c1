# Sourced by the X server test scripts: waiting for a condition, the state of the program
# under test and of the keyboard focus, and failing. A script sets `pid` to the program's
# process and may set `helpers` to other processes it started (a window manager); a
# failure ends them all, after calling show_on_failure when the script defines it.

pid=
helpers=

fail() {
  echo "FAIL: $*"
  if declare -F show_on_failure >/dev/null; then show_on_failure; fi
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$helpers" ] && kill $helpers 2>/dev/null
  exit 1
}

# Polls a condition (a command) ten times a second until it holds or the seconds run out.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -le 0 ] && return 1
    sleep 0.1
  done
}

# The program is running: its process exists and has not ended (an ended child stays a
# zombie until it is waited for).
running() {
  local state
  state=$(ps -o stat= -p "$pid" 2>/dev/null)
  [ -n "$state" ] && [[ $state != Z* ]]
}
ended() { ! running; }

# The window has the keyboard focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
