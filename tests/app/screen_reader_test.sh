#!/bin/bash
# Runs the calculator in Xvfb with a private D-Bus session and Qt's accessibility bridge on,
# and checks through AT-SPI what a screen reader finds (screen_reader_check.py). Needs
# at-spi2-core, dbus and python3-pyatspi (for Debian's /usr/bin/python3).
#
#   screen_reader_test.sh <quentara executable>
set -u

here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != "--inside" ]; then
  binary=${1:?usage: screen_reader_test.sh <quentara>}
  for tool in xvfb-run dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
  done
  /usr/bin/python3 -c 'import pyatspi' || { echo "FAIL: python3-pyatspi is not installed"; exit 1; }
  work=$(mktemp -d /tmp/quentara-atspi.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  # The report goes beside the program, so a private copy keeps the build folder clean.
  cp "$binary" "$work/quentara" || { echo "FAIL: cannot copy $binary"; exit 1; }
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" --inside "$work"
  exit $?
fi

work=$2
cd "$work" || exit 1
. "$here/x_test_support.sh"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The checker listens for focus events, as a screen reader does, before the program starts:
# Qt asks which events are listened for when the program starts, and may miss a listener
# that comes while it starts.
/usr/bin/python3 "$here/screen_reader_check.py" "$work/listening" &
checker=$!
wait_for 60 test -e "$work/listening" || { kill "$checker"; fail "the checker did not start"; }
./quentara >"$work/quentara.log" 2>&1 &
pid=$!
wait "$checker"
status=$?
if [ "$status" -ne 0 ]; then
  kill "$pid" 2>/dev/null
  echo "--- output of quentara ---"
  cat "$work/quentara.log"
  exit "$status"
fi
# Quit was pressed: the program ends by itself, with exit code 0.
wait "$pid"
code=$?
[ "$code" -eq 0 ] || { echo "FAIL: quentara ended with exit code $code"; exit 1; }
