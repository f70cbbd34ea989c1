#!/bin/bash
# Runs the built calculator in a real X server (Xvfb, no window manager) the way a person
# would: types the first payment date, tabs through the amount, rate and length into the
# payment field, waits for Loan.txt and compares it with the worked example, then clicks
# Quit and expects exit code 0.
#
#   xvfb_quentara_test.sh <quentara executable> <expected Loan.txt>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" != "--inside" ]; then
  binary=${1:?usage: xvfb_quentara_test.sh <quentara> <expected Loan.txt>}
  expected=${2:?usage: xvfb_quentara_test.sh <quentara> <expected Loan.txt>}
  require xvfb-run xdotool
  make_work_folder xvfb
  use_own_session
  # The report goes beside the program, so a private copy keeps the build folder clean. Its
  # folder's path is 600 bytes long, and the program is started from another folder.
  folder=$work
  while [ $((${#folder} + 102)) -lt 600 ]; do folder=$folder/$(printf '%0100d' 0); done
  folder=$folder/$(printf "%0$((600 - ${#folder} - 1))d" 0)
  mkdir -p "$folder" && cp "$binary" "$folder/quentara" || fail "cannot copy $binary"
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$0" --inside "$work" "$(realpath "$expected")" "$folder"
  exit $?
fi

work=$2
expected=$3
folder=$4
log=$work/quentara.log

show_on_failure() {
  if [ -s "$log" ]; then
    echo "--- output of quentara ---"
    cat "$log"
  fi
}

cd "$work" || fail "cannot enter $work"
QT_QPA_PLATFORM=xcb "$folder/quentara" >"$log" 2>&1 &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quentara$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "the main window did not appear within 30 seconds"
echo "main window: $window"

# No window manager gives the focus, so the test does. The keys below reach the window
# after its focus change, in the X server's order of events.
xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
wait_for 30 focused "$window" || fail "the main window did not take the keyboard focus within 30 seconds"

# The date field has the focus at start; replace today's date by the worked example's.
xdotool key --delay 50 ctrl+a || fail "xdotool key failed"
xdotool type --delay 50 '01/31/2004' || fail "xdotool type failed"
# Amount, rate and length keep their defaults; the fourth Tab enters the payment field.
xdotool key --delay 150 Tab Tab Tab Tab || fail "xdotool key failed"

report=$folder/Loan.txt
[ ${#folder} -eq 600 ] || fail "the program's folder is ${#folder} bytes long, not 600"
report_complete() { [ -f "$report" ] && [ "$(stat -c %s "$report")" -ge "$(stat -c %s "$expected")" ]; }
wait_for 30 report_complete || fail "Loan.txt did not reach $(stat -c %s "$expected") bytes within 30 seconds"
if ! cmp "$report" "$expected"; then
  echo "--- expected ---"
  cat -A "$expected"
  echo "--- got ---"
  cat -A "$report"
  fail "Loan.txt differs from the worked example"
fi
echo "Loan.txt matches the worked example ($(stat -c %s "$report") bytes)"
[ ! -e "$work/Loan.txt" ] || fail "Loan.txt was also written in the folder the program was started from"

# Quit is 65 x 25 at 460, 325 of the client area; without a window manager the window has
# no frame, so window-relative positions are client positions.
xdotool mousemove --window "$window" $((460 + 32)) $((325 + 12)) click 1 || fail "cannot click Quit"

wait_for 30 ended || fail "quentara did not end within 30 seconds after Quit"
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "quentara ended with exit code $code, expected 0"
echo "PASS: quentara computed the worked example and ended with exit code 0"
