#!/bin/bash
# Runs ui_probe in a real X server (Xvfb, no window manager) and drives it with xdotool:
# typing into field 13, Tab to field 14, the mouse over the form, a click on the button,
# Shift+Tab back, and a close request sent as the WM_DELETE_WINDOW client message a window
# manager's close box would send. Checks the events the probe prints and the window's
# place and size on the screen.
#
# Usage: xvfb_probe_test.sh <ui_probe> <x_close_request>
set -u

if [ "${1:-}" != "--inside" ]; then
  if [ $# -ne 2 ]; then
    echo "usage: $0 <ui_probe> <x_close_request>" >&2
    exit 2
  fi
  export QT_QPA_PLATFORM=xcb  # a real X server, whatever the caller set
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$1" "$2"
fi

probe=$2
closer=$3
work=$(mktemp -d)
out=$work/probe.out
err=$work/probe.err
pid=

finish() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "FAIL: $*"
  echo "--- probe output:"
  cat "$out"
  echo "--- probe errors:"
  cat "$err"
  exit 1
}

# Waits (up to 30 s) until the probe has printed a line matching the pattern.
wait_for() {
  local pattern=$1
  for _ in $(seq 1 300); do
    if grep -q -- "$pattern" "$out"; then return 0; fi
    if ! kill -0 "$pid" 2>/dev/null; then fail "the probe ended while waiting for '$pattern'"; fi
    sleep 0.1
  done
  fail "no line matching '$pattern' within 30 s"
}

# As wait_for, for a line after the first <lines> lines.
wait_for_new() {
  local pattern=$1 lines=$2
  for _ in $(seq 1 300); do
    if tail -n +"$((lines + 1))" "$out" | grep -q -- "$pattern"; then return 0; fi
    if ! kill -0 "$pid" 2>/dev/null; then fail "the probe ended while waiting for '$pattern'"; fi
    sleep 0.1
  done
  fail "no new line matching '$pattern' within 30 s"
}

# Waits (up to 30 s) until the command prints the expected text.
wait_until() {
  local expected=$1
  shift
  for _ in $(seq 1 300); do
    if [ "$("$@" 2>/dev/null)" = "$expected" ]; then return 0; fi
    sleep 0.1
  done
  fail "'$*' did not give '$expected' within 30 s"
}

"$probe" >"$out" 2>"$err" &
pid=$!
wait_for '^ready$'

window=
for _ in $(seq 1 300); do
  window=$(xdotool search --name '^Quentara probe$' 2>/dev/null | head -n 1)
  if [ -n "$window" ]; then break; fi
  sleep 0.1
done
[ -n "$window" ] || fail "the probe's window did not appear"

# Centred on the screen, with the inner size asked for (no window manager: no frame).
info=$(xwininfo -id "$window")
for expected in "Absolute upper-left X:  460" "Absolute upper-left Y:  412" "Width: 360" "Height: 200"; do
  echo "$info" | grep -q "$expected" || fail "window geometry: expected '$expected' in: $info"
done

# Without a window manager the probe's window takes the keyboard focus itself.
wait_until "$window" xdotool getwindowfocus

xdotool type --delay 150 42
wait_for '^text13=42$'
# A key going down is its own message before the character changes the field.
grep -q '^event 256 ' "$out" || fail "no key-down event (256) while typing"

xdotool key Tab
wait_for '^event 13100 gadget 14 window 0$'

xdotool mousemove --window "$window" 300 170
wait_for '^event 512 '

xdotool mousemove --window "$window" 170 92 click 1
wait_for '^event 13100 gadget 3 window 0$'

# From the button back to field 14, then on to field 13.
lines_before=$(wc -l <"$out")
xdotool key shift+Tab
wait_for_new '^event 13100 gadget 14 window 0$' "$lines_before"
lines_before=$(wc -l <"$out")
xdotool key shift+Tab
wait_for_new '^event 13100 gadget 13 window 0$' "$lines_before"

"$closer" "$window" || fail "could not send the close request"
# The close request is no gadget event: the last gadget stays 13.
wait_for '^event 16 gadget 13 window 0$'
wait_for '^closed$'
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "the probe exited with $status"
echo "PASS: $(wc -l <"$out") lines from the probe"
cat "$out"
