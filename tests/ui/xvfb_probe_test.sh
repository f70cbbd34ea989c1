#!/bin/bash
# Runs ui_probe in a real X server (Xvfb, no window manager) and drives it with xdotool:
# typing into field 13, Tab to field 14, the mouse over the form, a click on the button,
# Shift+Tab back, and a close request sent as the WM_DELETE_WINDOW client message a window
# manager's close box would send. Checks the events the probe prints and the window's
# place and size on the screen.
#
# Usage: xvfb_probe_test.sh <ui_probe> <x_close_request>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" != "--inside" ]; then
  if [ $# -ne 2 ]; then
    echo "usage: $0 <ui_probe> <x_close_request>" >&2
    exit 2
  fi
  require xvfb-run xdotool xwininfo
  make_work_folder probe
  use_own_session
  export QT_QPA_PLATFORM=xcb  # a real X server, whatever the caller set
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$work" "$1" "$2"
  exit $?
fi

work=$2
probe=$3
closer=$4
out=$work/probe.out
err=$work/probe.err

show_on_failure() {
  echo "--- probe output:"
  cat "$out"
  echo "--- probe errors:"
  cat "$err"
}

# Waits (up to 30 s) until the probe has printed a line matching the pattern.
expect_line() { wait_for 30 printed "$1" || fail "no line matching '$1' within 30 s"; }

# As expect_line, for a line after the first <lines> lines.
printed_after() { tail -n +"$(($1 + 1))" "$out" | grep -q -- "$2"; }
expect_new_line() {
  wait_for 30 printed_after "$2" "$1" || fail "no new line matching '$1' within 30 s"
}

"$probe" >"$out" 2>"$err" &
pid=$!
expect_line '^ready$'

window=
find_window() {
  window=$(xdotool search --name '^Quentara probe$' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
wait_for 30 find_window || fail "the probe's window did not appear"

# Centred on the screen, with the inner size asked for (no window manager: no frame).
info=$(xwininfo -id "$window")
for expected in "Absolute upper-left X:  460" "Absolute upper-left Y:  412" "Width: 360" "Height: 200"; do
  echo "$info" | grep -q "$expected" || fail "window geometry: expected '$expected' in: $info"
done

# Without a window manager the probe's window takes the keyboard focus itself.
wait_for 30 focused "$window" || fail "the probe's window did not take the keyboard focus"

xdotool type --delay 150 42
expect_line '^text13=42$'
# A key going down is its own message before the character changes the field.
grep -q '^event 256 ' "$out" || fail "no key-down event (256) while typing"

xdotool key Tab
expect_line '^event 13100 gadget 14 window 0$'

xdotool mousemove --window "$window" 300 170
expect_line '^event 512 '

xdotool mousemove --window "$window" 170 92 click 1
expect_line '^event 13100 gadget 3 window 0$'

# From the button back to field 14, then on to field 13.
lines_before=$(wc -l <"$out")
xdotool key shift+Tab
expect_new_line '^event 13100 gadget 14 window 0$' "$lines_before"
lines_before=$(wc -l <"$out")
xdotool key shift+Tab
expect_new_line '^event 13100 gadget 13 window 0$' "$lines_before"

"$closer" "$window" || fail "could not send the close request"
# The close request is no gadget event: the last gadget stays 13.
expect_line '^event 16 gadget 13 window 0$'
expect_line '^closed$'
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "the probe exited with $status"
echo "PASS: $(wc -l <"$out") lines from the probe"
cat "$out"
