#!/bin/bash
# Runs the built calculator in a real X server (Xvfb) under the openbox window manager,
# computes the default loan, presses Print, answers the "Please Note" box and then checks
# the wait for the text editor:
#
#   mousepad   the real Mousepad shows Loan.txt at once, with no dialog of its own; the
#              program waits for it, and a click on Quit made meanwhile ends the program
#              once the editor is closed
#   mousepad-session
#              the same for a person whose Mousepad restores a saved session (another
#              document): the editor still shows Loan.txt
#   alive      with a stand-in editor: while it runs, the main form answers the window
#              manager's _NET_WM_PING and is repainted where the box was; a click on Quit
#              made meanwhile ends the program only after the editor has ended
#   in-order   with a stand-in editor: a click into the amount field, a new amount typed, a
#              click into the payment field and a close request, all made while the editor
#              runs, are handled after it has ended and in that order: the report is
#              written anew for the new amount, then the program ends
#   busy       with a stand-in editor: the busy cursor shows over the main form while the
#              editor runs, and the arrow again once it has ended
#
#   xvfb_editor_test.sh <case> <quentara> <x_wm_ping> <x_close_request> <x_cursor_name>
#
# Everything runs with a HOME, XDG folders and a D-Bus session of the test's own, so the
# editor's settings and saved session on the machine do not matter.
# QUENTARA_KEEP_TEST_FILES=1 keeps the work folder (screenshots, reports, logs) for a look
# after a failure.
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" != "--inside" ]; then
  if [ $# -ne 5 ]; then
    echo "usage: $0 mousepad|mousepad-session|alive|in-order|busy <quentara> <x_wm_ping>" \
      "<x_close_request> <x_cursor_name>" >&2
    exit 2
  fi
  require xvfb-run dbus-run-session xdotool xwininfo openbox xprop import compare
  make_work_folder editor
  use_own_session
  # The report goes beside the program, so a private copy keeps the build folder clean.
  cp "$2" "$work/quentara" || fail "cannot copy $2"
  export QT_QPA_PLATFORM=xcb  # a real X server, whatever the caller set
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
    bash "$0" --inside "$1" "$work" "$(realpath "$3")" "$(realpath "$4")" "$(realpath "$5")"
  exit $?
fi

case=$2
work=$3
ping=$4
closer=$5
cursor_name=$6
log=$work/quentara.log
fail_context=$case

show_on_failure() {
  if [ -s "$log" ]; then
    echo "--- output of quentara ---"
    cat "$log"
  fi
  echo "--- windows on the screen ---"
  list_windows
}

# Every window on the screen that has a name: "<id> <name>", one a line.
list_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "$id $(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_named "$1")" ]; }
report_size() { [ -f "$work/Loan.txt" ] && [ "$(stat -c %s "$work/Loan.txt")" -eq "$1" ]; }
file_has() { [ -f "$1" ] && grep -q "$2" "$1"; }

# Clicks the point of the main form's client area (x, y).
click_form() {
  xdotool mousemove --window "$window" "$1" "$2" click 1 || fail "cannot click at $1, $2"
}

# A window's client area on the screen: "x y width height" (xdotool's geometry is off by
# the frame under a window manager).
window_area() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

# The liveness check a window manager makes; "answered" within 30 seconds or a failure.
expect_ping_answered() {
  local answer
  answer=$("$ping" "$window" 30)
  [ "$answer" = "answered" ] || fail "$1: the main form did not answer _NET_WM_PING"
}

cd "$work" || fail "cannot enter $work"
openbox >"$work/openbox.log" 2>&1 &
helpers+=($!)
wait_for 30 wm_running || fail "openbox did not start within 30 seconds"

# A stand-in editor: notes its arguments, then runs until the test lets it end.
mkdir -p "$work/bin"
cat >"$work/bin/notepad.exe" <<EOF
#!/bin/sh
echo "started \$*" > "$work/editor.log"
tries=0
while [ ! -e "$work/release" ] && [ \$tries -lt 1200 ]; do sleep 0.1; tries=\$((tries + 1)); done
echo ended >> "$work/editor.log"
EOF
chmod +x "$work/bin/notepad.exe"
if [[ $case == mousepad* ]]; then
  require mousepad gsettings
  if [ "$case" = mousepad-session ]; then
    # What Mousepad keeps of a person's last session: another document, restored at start.
    echo "an earlier document" >"$work/earlier.txt"
    gsettings set org.xfce.mousepad.preferences.file session-restore always &&
      gsettings set org.xfce.mousepad.state.application session \
        "['1;;+file://$work/earlier.txt']" || fail "cannot save a Mousepad session"
  fi
else
  export PATH="$work/bin:$PATH"
fi

# The theme's busy cursor is animated, and the frames of an animated cursor have no name:
# without animation the cursor shown is the one of that name.
XCURSOR_ANIM=false ./quentara >"$log" 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quentara$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "the main window did not appear within 30 seconds"
wait_for 30 focused "$window" || fail "the main window did not get the keyboard focus"

# The date field has the focus; the fourth Tab enters the payment field, which computes the
# default loan (5000.00 at 4.00 % over 1 year: one year block and 12 rows, 1513 bytes).
xdotool key --delay 100 Tab Tab Tab Tab || fail "xdotool key failed"
wait_for 30 report_size 1513 || fail "Loan.txt was not written within 30 seconds"
cp "$work/Loan.txt" "$work/first-report.txt"
import -window root "$work/before.png" || fail "cannot take a screenshot"

click_form 345 297  # Print Amortization Schedule
wait_for 30 has_window '^Please Note$' || fail "the Please Note box did not appear"
box=$(window_named '^Please Note$')
wait_for 30 focused "$box" || fail "the Please Note box did not get the keyboard focus"
read -r box_x box_y box_width box_height < <(window_area "$box")
xdotool key Return || fail "xdotool key failed"

case $case in
  mousepad | mousepad-session)
    wait_for 30 has_window 'Loan\.txt' || fail "no editor window showing Loan.txt within 30 s"
    editor=$(window_named 'Loan\.txt')
    # The editor answers the liveness check only once it has handled what it had to do
    # at start-up, such as asking for the report's encoding.
    [ "$("$ping" "$editor" 30)" = answered ] || fail "the editor does not answer"
    windows=$(list_windows | cut -d' ' -f2- | sort)
    expected=$(printf "%s\n" "$work/Loan.txt - Mousepad" "Quentara")
    [ "$windows" = "$expected" ] ||
      fail "expected only the main form and the editor on the screen, got: $windows"
    if [ "$case" = mousepad-session ]; then
      # Mousepad keeps its open documents in the session: the earlier one was restored
      # beside the report, in the same window, and the report is the document shown.
      session_has() { gsettings get org.xfce.mousepad.state.application session | grep -qF "$1"; }
      wait_for 30 session_has "file://$work/earlier.txt" ||
        fail "Mousepad did not restore the saved session"
      session_has "'1;;+file://$work/Loan.txt'" || fail "Mousepad does not show Loan.txt: $(
        gsettings get org.xfce.mousepad.state.application session)"
    fi
    # The editor goes to the top-left corner, well clear of the form's Quit button.
    xdotool windowsize "$editor" 400 300 windowmove "$editor" 0 0 ||
      fail "cannot move the editor aside"
    click_form 492 337  # Quit, while the editor is open
    # An answer to a ping sent after the click shows that the click has been read.
    expect_ping_answered "after the click on Quit"
    running || fail "the program ended while the editor was still open"
    "$closer" "$editor" || fail "cannot ask the editor to close"
    ;;
  alive)
    wait_for 30 file_has "$work/editor.log" started || fail "the stand-in editor did not start"
    [ "$(cat "$work/editor.log")" = "started Loan.txt" ] ||
      fail "the editor was started with: $(cat "$work/editor.log")"
    expect_ping_answered "while the editor runs"
    # Without a compositor the box stays on the screen until the form paints that part
    # again; a ping answered after the box was closed shows that the form had the chance.
    import -window root "$work/during.png" || fail "cannot take a screenshot"
    crop="${box_width}x${box_height}+${box_x}+${box_y}"
    differing=$(compare -metric AE -fuzz 10% "$work/before.png[$crop]" "$work/during.png[$crop]" \
      null: 2>&1)
    [ $((differing * 20)) -lt $((box_width * box_height)) ] ||
      fail "$differing pixels where the box was differ from the form before Print"
    click_form 492 337  # Quit
    expect_ping_answered "after the click on Quit"
    running || fail "the program ended while the editor was still running"
    touch "$work/release"
    ;;
  in-order)
    wait_for 30 file_has "$work/editor.log" started || fail "the stand-in editor did not start"
    click_form 425 160  # the amount field
    xdotool key ctrl+a || fail "xdotool key failed"
    xdotool type --delay 50 '7000.00' || fail "xdotool type failed"
    click_form 425 250  # the payment field: computes
    "$closer" "$window" || fail "cannot send the close request"
    expect_ping_answered "after the input"
    running || fail "the program ended while the editor was still running"
    cmp -s "$work/Loan.txt" "$work/first-report.txt" ||
      fail "the report was written anew while the editor was still running"
    touch "$work/release"
    ;;
  busy)
    wait_for 30 file_has "$work/editor.log" started || fail "the stand-in editor did not start"
    xdotool mousemove --window "$window" 80 200 || fail "cannot move the pointer"  # the picture
    busy() { [[ $("$cursor_name") =~ ^(watch|wait)$ ]]; }
    wait_for 30 busy || fail "the cursor over the form is \"$("$cursor_name")\" while the editor runs"
    touch "$work/release"
    arrow() { [ "$("$cursor_name")" = left_ptr ]; }
    wait_for 30 arrow || fail "the cursor over the form is \"$("$cursor_name")\" after the editor"
    "$closer" "$window" || fail "cannot send the close request"
    ;;
  *)
    fail "unknown case $case"
    ;;
esac

wait_for 30 ended || fail "the program did not end within 30 seconds after the editor"
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "quentara ended with exit code $code, expected 0"
if [ "$case" = in-order ]; then
  # The last row of 7000.00 at 4.00 % over 1 year: the totals paid 7152.59, interest
  # 152.59 and principal 7000.00.
  tail -c 100 "$work/Loan.txt" | grep -q '7152\.59 *152\.59 *7000\.00' ||
    fail "Loan.txt does not hold the amount typed during the wait: $(tail -c 100 "$work/Loan.txt")"
fi
echo "PASS: $case"
