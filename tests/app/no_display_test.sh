#!/bin/bash
# Starts the program where it has no display to show its windows on, and expects one line
# that says so and how to start it, and exit code 1 (not Qt's abort).
#
#   no_display_test.sh <quentara executable>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"
quentara=${1:?usage: no_display_test.sh <quentara>}

# An X display number that no server uses.
free=900
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done

# environment | arguments | what the line must say
cases=(
  "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM||neither DISPLAY nor WAYLAND_DISPLAY is set"
  "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb||DISPLAY is not set"
  "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$free||the X display :$free cannot be opened"
  "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=|-display :$free|the X display :$free cannot be opened"
)
how="start it from a desktop session, or under a virtual one: xvfb-run -a quentara"
make_work_folder no-display
for row in "${cases[@]}"; do
  IFS='|' read -r environment arguments expected <<<"$row"
  # shellcheck disable=SC2086  # the environment and the arguments are lists of words
  env $environment "$quentara" $arguments >"$work/out" 2>"$work/err"
  code=$?
  fail_context="env $environment quentara $arguments"
  [ "$code" -eq 1 ] || fail "exit code $code, expected 1; it wrote: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] ||
    fail "expected one line on standard error, got: $(cat "$work/out" "$work/err")"
  grep -qxF "quentara: no display found ($expected); $how" "$work/err" ||
    fail "unexpected message: $(cat "$work/err")"
done
echo "PASS: ${#cases[@]} ways of having no display"
