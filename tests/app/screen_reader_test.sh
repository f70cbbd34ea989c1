#!/bin/bash
# Runs the calculator in Xvfb with a private D-Bus session and Qt's accessibility bridge on,
# with Orca, the screen reader, speaking into a file, and checks through AT-SPI what a
# screen reader finds and through the file what Orca says (screen_reader_check.py). Needs
# at-spi2-core, dbus, python3-pyatspi (for Debian's /usr/bin/python3), orca and
# speech-dispatcher.
#
#   screen_reader_test.sh <quentara executable>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != "--inside" ]; then
  binary=${1:?usage: screen_reader_test.sh <quentara>}
  require xvfb-run dbus-run-session orca speech-dispatcher
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

# Orca speaks through speech-dispatcher to a module that appends each text to spoken.txt
# (its sound device is ALSA's null device). Orca's own launcher refuses to start while any
# process named orca runs for the same user anywhere on the machine (another test run);
# Orca's main module does not ask.
speechd=$XDG_CONFIG_HOME/speech-dispatcher
mkdir -p "$speechd/modules" || exit 1
printf '%s\n' 'AddModule "file" "sd_generic" "file.conf"' 'DefaultModule "file"' \
  'AudioOutputMethod "alsa"' 'AudioALSADevice "null"' >"$speechd/speechd.conf"
printf '%s\n' "GenericExecuteSynth \"printf '%s\\\\n' \\'\$DATA\\' >>$work/spoken.txt\"" \
  'AddVoice "en" "MALE1" "file"' 'GenericLanguage "en" "en" "utf-8"' >"$speechd/modules/file.conf"
/usr/bin/python3 -c 'import sys; from orca import orca; settings = orca.getSettingsManager()
settings.activate(sys.argv[1], {}); sys.path.insert(0, settings.getPrefsDir()); orca.main()' \
  "$work/orca" >"$work/orca.log" 2>&1 &
screen_reader=$!
helpers=("$screen_reader")
show_on_failure() {
  tail -n 30 "$work"/*.log "$XDG_RUNTIME_DIR"/*.log "$work/spoken.txt"
}
wait_for 60 grep -q "Screen reader on" "$work/spoken.txt" 2>/dev/null || fail "Orca did not speak"
speech_server=$(cat "$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid")
helpers=("$screen_reader" "$speech_server")

# The checker listens for focus events, as a screen reader does, before the program starts:
# Qt asks which events are listened for when the program starts, and may miss a listener
# that comes while it starts.
/usr/bin/python3 "$here/screen_reader_check.py" "$work/listening" "$work/spoken.txt" &
checker=$!
wait_for 60 test -e "$work/listening" || { kill "$checker"; fail "the checker did not start"; }
./quentara >"$work/quentara.log" 2>&1 &
pid=$!
wait "$checker"
status=$?
[ "$status" -eq 0 ] || fail "see above"
# Quit was pressed: the program ends by itself, with exit code 0.
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "quentara ended with exit code $code"
# Orca says goodbye and ends (at times by killing itself); speech-dispatcher would wait for
# another client.
{ kill "$screen_reader" && wait "$screen_reader"; } 2>/dev/null
kill "$speech_server"
