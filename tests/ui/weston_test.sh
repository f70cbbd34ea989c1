#!/bin/bash
# Runs desktop_probe on a Wayland desktop that offers XWayland (weston with --xwayland) and
# checks that it looks and behaves as under X11: it runs as an X11 client, its fixed-size
# windows ask for no maximise button, window 1 opens centred over the form, and its message
# box is titled, framed and centred over the form (the windows are found on weston's
# screenshots by their colours). Weston runs with one of two backends: headless, or x11,
# where weston's output is a window in an X server of its own (Xvfb).
# The probe runs --on-its-own and gets only close requests (headless weston has no input
# devices).
#
# Usage: weston_test.sh headless|x11 <desktop_probe> <x_close_request>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" = --inside ]; then
  shift
else
  if [ $# -ne 3 ] || [[ ! $1 =~ ^(headless|x11)$ ]]; then
    echo "usage: $0 headless|x11 <desktop_probe> <x_close_request>" >&2
    exit 2
  fi
  if [ "$1" = x11 ]; then
    require xvfb-run
    exec xvfb-run -a -s "-screen 0 1400x1100x24" "$0" --inside "$@"
  fi
fi
backend=$1
probe=$2
closer=$3
fail_context="weston, $backend"
require weston Xwayland weston-screenshooter xprop xwininfo xdotool convert
make_work_folder weston
use_own_session
out=$work/probe.out

show_on_failure() {
  echo "--- probe output:"
  cat "$out" 2>/dev/null
  echo "--- weston log (end):"
  tail -n 20 "$work/weston.log" 2>/dev/null
}

# --debug lets weston-screenshooter take screenshots.
weston --backend="$backend-backend.so" --use-pixman --width=1280 --height=1024 --xwayland \
  --socket=quentara-test --idle-time=0 --debug --log="$work/weston.log" 2>"$work/weston.err" &
helpers+=($!)
x_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log"; }
wait_for 30 grep -q 'xserver listening on display' "$work/weston.log" || fail "weston did not start XWayland"
wait_for 30 test -S "$XDG_RUNTIME_DIR/quentara-test" || fail "weston did not start"
export WAYLAND_DISPLAY=quentara-test

# The shell has drawn its desktop and faded it in (the middle of the screen is not black and
# stays the same between two screenshots): a window mapped from now on is shown and
# activated as it appears.
screenshot() {
  (cd "$work" && rm -f wayland-screenshot*.png && timeout 60 weston-screenshooter) &&
    ls "$work"/wayland-screenshot*.png
}
last_middle=none
desktop_drawn() {
  local shot middle previous=$last_middle
  shot=$(screenshot) || return 1
  middle=$(convert "$shot" -format '%[pixel:p{640,512}]' info:)
  last_middle=$middle
  [ "$middle" != "black" ] && [ "$middle" != "srgb(0,0,0)" ] && [ "$middle" = "$previous" ]
}
wait_for 30 desktop_drawn || fail "weston's shell did not draw the desktop"

# XWayland starts with its first client; its window manager must be up before the probe's
# windows are mapped, or they would never be managed.
DISPLAY=$(x_display | head -n 1)
export DISPLAY
wait_for 30 wm_running || fail "weston's X11 window manager did not start"

# A Wayland desktop session with XWayland, and no platform chosen by the person.
export XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
"$probe" --on-its-own >"$out" 2>"$work/probe.err" &
pid=$!
wait_for 30 printed '^information up$' || fail "the probe did not open window 1"

form=$(xdotool search --name '^Quentara probe$' | head -n 1)
[ -n "$form" ] || fail "the probe's form is no X11 window: it does not run through XWayland"
echo "the probe runs as an X11 client on XWayland ($DISPLAY)"
window=$(xdotool search --name '^Information$' | head -n 1)
[ -n "$window" ] || fail "window 1 is no X11 window"

# _MOTIF_WM_HINTS: flags, functions, decorations; the maximise bits are 0x10 and 0x40.
no_maximise() {
  local hints
  hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
  read -r _ functions decorations _ <<<"$hints"
  [ -n "$decorations" ] && [ $((functions & 0x10)) -eq 0 ] && [ $((decorations & 0x40)) -eq 0 ]
}
for id in "$form" "$window"; do
  no_maximise "$id" || fail "a form asks for a maximise button: $(xprop -id "$id" _MOTIF_WM_HINTS)"
done
echo "the fixed-size windows ask for no maximise button"

# The bounding box "width height left top" of the pixels of one colour on a screenshot.
area_of() {
  convert "$1" -fill black +opaque "$2" -format '%@' info: 2>/dev/null | sed 's/[x+]/ /g'
}
# Both are painted once they are on the screen.
both_shown() {
  local shot
  shot=$(screenshot) || return 1
  read -r form_w form_h form_x form_y <<<"$(area_of "$shot" 'rgb(230,230,242)')"
  read -r info_w info_h info_x info_y <<<"$(area_of "$shot" 'rgb(193,224,255)')"
  [ "$form_w $form_h $info_w $info_h" = "360 200 200 100" ]
}
wait_for 30 both_shown ||
  fail "the screenshot shows the form as $form_w x $form_h and window 1 as $info_w x $info_h"
dx=$(((2 * info_x + info_w) - (2 * form_x + form_w)))
dy=$(((2 * info_y + info_h) - (2 * form_y + form_h)))
[ "$dx $dy" = "0 0" ] ||
  fail "window 1 at $info_x,$info_y is not centred over the form at $form_x,$form_y"
echo "window 1 is centred over the form"

"$closer" "$window" || fail "could not ask window 1 to close"
wait_for 30 printed '^box up$' || fail "the probe did not show its box once window 1 was closed"
box=
find_box() {
  box=$(xdotool search --onlyvisible --name '^Please Note$' 2>/dev/null | head -n 1)
  [ -n "$box" ]
}
wait_for 30 find_box || fail "no box titled \"Please Note\" appeared"
# weston's window manager puts a titled frame around the box: its parent is taller.
parent=$(xwininfo -id "$box" -tree | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
box_height=$(xwininfo -id "$box" | sed -n 's/^ *Height: *//p')
frame_height=$(xwininfo -id "$parent" | sed -n 's/^ *Height: *//p')
[ "$((frame_height - box_height))" -ge 20 ] ||
  fail "the box has no title bar (frame $frame_height px high, box $box_height px)"
echo "the box is titled \"Please Note\" in a frame of its own"

# The box (magenta inside) is centred over the form, both having the same kind of frame.
box_shown() {
  local shot
  shot=$(screenshot) || return 1
  read -r form_w form_h form_x form_y <<<"$(area_of "$shot" 'rgb(230,230,242)')"
  read -r box_w box_h box_x box_y <<<"$(area_of "$shot" 'rgb(255,0,255)')"
  [ "$form_w $form_h" = "360 200" ] && [ "${box_w:-0}" -gt 50 ] && [ "${box_h:-0}" -gt 20 ]
}
wait_for 30 box_shown || fail "the screenshot shows the form as $form_w x $form_h and no box"
dx=$(((2 * box_x + box_w) - (2 * form_x + form_w)))
dy=$(((2 * box_y + box_h) - (2 * form_y + form_h)))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] ||
  fail "the box at $box_x,$box_y ($box_w x $box_h) is not centred over the form at $form_x,$form_y"
echo "the box is centred over the form"

"$closer" "$box" || fail "could not close the box"
wait_for 30 printed '^answer 1$' || fail "the box did not close"
"$closer" "$form" || fail "could not ask the form to close"
wait_for 30 printed '^closed$' || fail "the probe did not end"
echo "PASS (weston, $backend)"
