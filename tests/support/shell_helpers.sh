# shellcheck shell=bash
# Sourced by every shell test that runs programs in an X server or a Wayland compositor: a
# work folder of its own, a desktop session of its own (HOME and the XDG folders in that
# folder), waiting for a condition, the state of the program under test and of the keyboard
# focus, and failing. It starts nothing itself.
#
# A test sets `pid` to the program under test and adds the other programs it starts in the
# background (a window manager, a compositor) to the array `helpers`; a failure, and the end
# of the script, ends them all. A test may define show_on_failure to print its logs when it
# fails, and set fail_context to name the case on the FAIL line.
#
# QUENTARA_KEEP_TEST_FILES=1 keeps the work folders (screenshots, reports, logs) for a look
# after a failure; the test then tells where its folder is.

pid=
helpers=()
fail_context=
work=
made_work=

finish_test() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ ${#helpers[@]} -gt 0 ] && kill "${helpers[@]}" 2>/dev/null
  if [ -n "$made_work" ]; then
    if [ -n "${QUENTARA_KEEP_TEST_FILES:-}" ]; then
      echo "kept the test's files in $made_work"
    else
      rm -rf "$made_work"
    fi
  fi
}
trap finish_test EXIT

# make_work_folder NAME: a new folder /tmp/quentara-NAME.XXXXXX in `work`, removed when the
# script ends unless QUENTARA_KEEP_TEST_FILES is set.
make_work_folder() {
  work=$(mktemp -d "/tmp/quentara-$1.XXXXXX") || fail "cannot make a work folder"
  made_work=$work
}

# use_own_session: HOME, the XDG folders and the D-Bus session of the programs started from
# now on are the test's own, in $work/session, so that nothing of the machine's own desktop
# reaches them: no setting, no saved Mousepad session, no running instance of a program on
# the person's session bus, no Wayland display. A test that needs a session bus starts its
# own (dbus-run-session) after this.
use_own_session() {
  local base=$work/session
  export HOME=$base/home XDG_CONFIG_HOME=$base/config XDG_DATA_HOME=$base/data \
    XDG_CACHE_HOME=$base/cache XDG_STATE_HOME=$base/state XDG_RUNTIME_DIR=$base/runtime
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" &&
    mkdir -m 700 "$XDG_RUNTIME_DIR" || fail "cannot make the session folders in $base"
  unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY XDG_SESSION_TYPE
}

# require TOOL...: fails naming the first that is not installed.
require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
}

fail() {
  echo "FAIL${fail_context:+ ($fail_context)}: $*"
  if [ -n "$pid" ] && ended; then echo "(the program under test has ended)"; fi
  if declare -F show_on_failure >/dev/null; then show_on_failure; fi
  exit 1
}

# wait_for SECONDS COMMAND...: runs the command ten times a second, its output dropped,
# until it succeeds (0) or the seconds run out (1).
wait_for() {
  local tries=$(($1 * 10))
  shift
  until "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# The program under test ($pid) exists and has not ended (an ended child stays a zombie
# until it is waited for).
running() {
  local state
  state=$(ps -o stat= -p "$pid" 2>/dev/null)
  [ -n "$state" ] && [[ $state != Z* ]]
}
ended() { ! running; }

# printed PATTERN [FILE]: a line of the file ($out when none is given) matches the pattern.
printed() { grep -q -- "$1" "${2:-$out}"; }

# The window has the keyboard focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# An EWMH window manager runs on the X server.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
