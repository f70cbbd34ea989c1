#!/bin/bash
# Runs desktop_probe and the calculator under a real window manager (openbox by default,
# or xfwm4) in Xvfb and checks what only a window manager shows: each form's outer window,
# frame included, centred on the screen; message boxes with the title exactly as given (an
# empty one stays empty), centred over their form, owned by it (also the second of two
# boxes in a row), and keeping the keyboard after a click on the form, so that Enter still
# closes them; every window with the icon of the icon theme and the menu entry's class.
#
# Usage: window_manager_test.sh <desktop_probe> <quentara> <x_close_request> [window manager]
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" != "--inside" ]; then
  if [ $# -lt 3 ]; then
    echo "usage: $0 <desktop_probe> <quentara> <x_close_request> [window manager]" >&2
    exit 2
  fi
  manager=${4:-openbox}
  fail_context=$manager
  require xvfb-run dbus-run-session xdotool xprop xwininfo convert "$manager"
  make_work_folder window-manager
  use_own_session
  export QT_QPA_PLATFORM=xcb  # a real X server, whatever the caller set
  # A D-Bus session of the test's own: xfwm4 reads its settings through it (xfconf).
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
    "$0" --inside "$work" "$1" "$2" "$3" "$manager"
  exit $?
fi

work=$2
probe=$3
quentara=$4
closer=$5
manager=$6
fail_context=$manager
out=$work/probe.out

show_on_failure() {
  echo "--- probe output:"
  cat "$out" 2>/dev/null
}

has_frame() { xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='; }

# The outer rectangle of a window, frame included: "left top width height".
outer() {
  local info extents
  info=$(xwininfo -id "$1")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r left right top bottom <<<"$extents"
  local x y w h
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(echo "$info" | sed -n 's/^ *Width: *//p')
  h=$(echo "$info" | sed -n 's/^ *Height: *//p')
  echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# The screen is 1280 x 1024: left = 1280/2 - W/2, top = 1024/2 - H/2 (integer halvings).
expect_centred_on_screen() {
  local name=$1 window=$2
  read -r left top width height <<<"$(outer "$window")"
  [ "$top" -gt 0 ] || fail "$name: no frame around it"
  local want_left=$((640 - width / 2)) want_top=$((512 - height / 2))
  [ "$left $top" = "$want_left $want_top" ] ||
    fail "$name: outer window $width x $height at $left,$top, expected at $want_left,$want_top"
  echo "$name: outer window $width x $height at $left,$top, centred"
}

# Outer centres equal, to the pixel that an odd difference of sizes leaves.
expect_centred_over() {
  local name=$1 inner=$2 owner=$3
  read -r l1 t1 w1 h1 <<<"$(outer "$inner")"
  read -r l2 t2 w2 h2 <<<"$(outer "$owner")"
  local dx=$(((2 * l1 + w1) - (2 * l2 + w2))) dy=$(((2 * t1 + h1) - (2 * t2 + h2)))
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] ||
    fail "$name: $w1 x $h1 at $l1,$t1 is not centred over $w2 x $h2 at $l2,$t2"
  echo "$name: centred over the form"
}

title_of() { xprop -id "$1" _NET_WM_NAME | sed 's/^[^=]*= //; s/ *$//'; }

"$manager" >"$work/manager.log" 2>&1 &
helpers+=($!)
wait_for 30 wm_running || fail "the window manager did not start"

"$probe" >"$out" 2>"$work/probe.err" &
pid=$!
probe_pid=$pid
wait_for 30 printed '^ready$' || fail "the probe did not start"
form=$(xdotool search --name '^Quentara probe$' | head -n 1)
[ -n "$form" ] || fail "no probe window"
wait_for 30 has_frame "$form" || fail "the window manager gave the probe no frame"
expect_centred_on_screen "probe form" "$form"

# "Untitled" shows a box with an empty title.
xdotool mousemove --window "$form" 180 92 click 1
wait_for 30 printed '^box up$' || fail "no box came up"
box=
find_box() {
  box=$(xdotool search --onlyvisible --pid "$probe_pid" 2>/dev/null | grep -v "^$form\$" | head -n 1)
  [ -n "$box" ] && has_frame "$box"
}
wait_for 30 find_box || fail "the box did not appear"
[ -z "$(title_of "$box")" ] ||
  fail "the untitled box is titled $(title_of "$box")"
echo "untitled box: empty title"
expect_centred_over "untitled box" "$box" "$form"

# A click on the form gives it the window manager's focus; the box takes it back.
xdotool mousemove --window "$form" 300 170 click 1
wait_for 30 focused "$box" || fail "the box did not keep the keyboard after a click on the form"
xdotool key Return
wait_for 30 printed '^answer 1$' || fail "Enter did not close the box"
echo "untitled box: Enter closed it after a click on the form"

# "Note" shows a box titled "Please Note".
xdotool mousemove --window "$form" 70 92 click 1
wait_for 30 sh -c "[ \$(grep -c '^box up\$' '$out') -eq 2 ]" || fail "no second box came up"
wait_for 30 find_box || fail "the second box did not appear"
[ "$(title_of "$box")" = '"Please Note"' ] || fail "the box is titled $(title_of "$box")"
echo "note box: titled \"Please Note\""
wait_for 30 focused "$box" || fail "the note box did not get the keyboard"
xdotool key Return
wait_for 30 sh -c "[ \$(grep -c '^answer 1\$' '$out') -eq 2 ]" || fail "Enter did not close the note box"
xdotool mousemove --window "$form" 290 92 click 1
wait_for 30 printed '^closed$' || fail "the probe did not end on Quit"

# The calculator, in a folder of its own (it writes its report there), where no editor can be
# found: Print shows two boxes in a row, "Please Note" and "Cannot start 'notepad.exe'…".
# Each belongs to the main form: centred over it, transient for it (no taskbar entry of its
# own), and above it after a click on the form. The icon theme holds an icon of one colour
# (0xff123456 in _NET_WM_ICON), which every window shows, and the windows' class is the one
# the menu entry names.
resources=$(dirname "$0")/../../resources
cp "$quentara" "$work/quentara"
mkdir -p "$work/no-editors" "$work/share/icons/hicolor/48x48/apps"
convert -size 48x48 'xc:rgb(18,52,86)' "$work/share/icons/hicolor/48x48/apps/org.quentara.Quentara.png"
(cd "$work" && XDG_DATA_DIRS=$work/share:/usr/share PATH=$work/no-editors exec ./quentara \
  >"$work/quentara.log" 2>&1) &
pid=$!
main=
find_main() {
  main=$(xdotool search --onlyvisible --name '^Quentara$' 2>/dev/null | head -n 1)
  [ -n "$main" ] && has_frame "$main"
}
wait_for 30 find_main || fail "the main form did not appear"
expect_centred_on_screen "main form" "$main"
has_icon() {
  [ "$(xprop -notype -id "$1" -f _NET_WM_ICON 32c '=$0,$2\n' _NET_WM_ICON)" = "_NET_WM_ICON=48,4279383126" ]
}
has_icon "$main" || fail "the main form shows no icon"
class=$(sed -n 's/^StartupWMClass=//p' "$resources/org.quentara.Quentara.desktop.in")
xprop -id "$main" WM_CLASS | grep -q ", \"$class\"\$" ||
  fail "the main form's $(xprop -id "$main" WM_CLASS) does not end in the menu entry's class $class"

hex() { printf '0x%x' "$1"; }
find_quentara_box() {
  box=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$main" | head -n 1)
  [ -n "$box" ] && has_frame "$box" && [ "$(title_of "$box")" = "\"$1\"" ]
}
expect_owned_box() {
  wait_for 30 find_quentara_box "$1" || fail "no box titled \"$1\" appeared"
  expect_centred_over "box \"$1\"" "$box" "$main"
  xprop -id "$box" WM_TRANSIENT_FOR | grep -q "# $(hex "$main")\$" ||
    fail "box \"$1\": $(xprop -id "$box" WM_TRANSIENT_FOR), not the main form $(hex "$main")"
  wait_for 30 focused "$box" || fail "box \"$1\" did not get the keyboard"
  has_icon "$box" || fail "box \"$1\" shows no icon"
}

wait_for 30 focused "$main" || fail "the main form did not get the keyboard"
# The fourth Tab from the date field enters the payment field and computes the default loan.
xdotool key --delay 100 Tab Tab Tab Tab
wait_for 30 test -s "$work/Loan.txt" || fail "the default loan was not computed"
xdotool mousemove --window "$main" 345 297 click 1  # Print Amortization Schedule
expect_owned_box "Please Note"
xdotool key Return
expect_owned_box "notepad.exe"
xdotool mousemove --window "$main" 80 200 click 1  # the picture
wait_for 30 focused "$box" || fail "the no-editor box lost the keyboard to a click on the form"
# _NET_CLIENT_LIST_STACKING lists the windows bottom to top.
xprop -root _NET_CLIENT_LIST_STACKING | grep -q "$(hex "$main").*$(hex "$box")" ||
  fail "the no-editor box went below the main form after a click on it"
echo "main form and both boxes: the icon and class $class; the boxes owned by the form"
xdotool key Return
"$closer" "$main" || fail "could not ask the main form to close"
wait_for 30 sh -c "! xdotool search --name '^Quentara\$'" || fail "the calculator did not end"
echo "PASS ($manager)"
