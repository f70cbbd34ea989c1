#!/bin/bash
# Runs the calculator in Xvfb with a private D-Bus session and Qt's accessibility bridge on,
# and checks through AT-SPI what a screen reader finds (screen_reader_check.py). Needs
# at-spi2-core, dbus and python3-pyatspi (for Debian's /usr/bin/python3).
#
#   screen_reader_test.sh <quentara executable>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != "--inside" ]; then
  binary=${1:?usage: screen_reader_test.sh <quentara>}
  require xvfb-run dbus-run-session
  /usr/bin/python3 -c 'import pyatspi' || fail "python3-pyatspi is not installed"
  make_work_folder atspi
  use_own_session
  # The report goes beside the program, so a private copy keeps the build folder clean.
  cp "$binary" "$work/quentara" || fail "cannot copy $binary"
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" --inside "$work"
  exit $?
fi

work=$2
cd "$work" || exit 1
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
./quentara >"$work/quentara.log" 2>&1 &
pid=$!
show_on_failure() {
  echo "--- output of quentara ---"
  cat "$work/quentara.log"
}
/usr/bin/python3 "$here/screen_reader_check.py" || fail "screen_reader_check.py failed"
# Quit was pressed: the program ends by itself, with exit code 0.
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "quentara ended with exit code $code"
