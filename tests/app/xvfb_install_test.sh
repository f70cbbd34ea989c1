#!/bin/bash
# Installs the built program with scripts/install into a prefix (a folder whose path holds a
# space and a dollar sign, as a person's home may, that already has an empty folder of menu
# entries), checks what was installed, starts the program through its menu entry the way a
# desktop does (gio launch) in a real X server, expects the installed icon on its window,
# computes the default loan and expects Loan.txt in the install folder; builds a program on
# the installed loan library and imports the Python module; then uninstalls with
# scripts/install --uninstall and expects nothing but that report and the folder of menu
# entries to be left. Installed twice into a prefix that did not exist, and uninstalled,
# nothing of that prefix is left.
#
#   xvfb_install_test.sh <build folder> <source folder>
set -u
# shellcheck source=SCRIPTDIR/../support/shell_helpers.sh
. "$(dirname "$0")/../support/shell_helpers.sh"

if [ "${1:-}" != "--inside" ]; then
  if [ $# -ne 2 ]; then
    echo "usage: $0 <build folder> <source folder>" >&2
    exit 2
  fi
  require xvfb-run xdotool xprop gio desktop-file-validate appstreamcli identify
  make_work_folder install
  use_own_session
  export QT_QPA_PLATFORM=xcb  # a real X server, whatever the caller set
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$0" --inside "$work" "$(realpath "$1")" "$(realpath "$2")"
  exit $?
fi

work=$2
build=$3
source=$4
prefix="$work/home of a\$user/.local"
folder="$prefix/share/quentara"
id=org.quentara.Quentara

# install_into [PREFIX]: scripts/install with the build as it is, into the prefix under test.
install_into() {
  QUENTARA_INSTALL_FROM="$build" PREFIX="${1:-$prefix}" "$source/scripts/install" \
    >"$work/install.log" 2>&1 || fail "scripts/install failed: $(cat "$work/install.log")"
}
mkdir -p "$prefix/share/applications"
install_into

for file in "bin/quentara" "share/quentara/quentara" "share/quentara/install-manifest.txt" \
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  "bin/quentara-schedule" "share/man/man1/quentara-schedule.1"; do
  [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -L "$prefix/bin/quentara" ] || fail "bin/quentara is not a link"
[ "$(readlink -f "$prefix/bin/quentara")" = "$(readlink -f "$folder/quentara")" ] ||
  fail "bin/quentara does not lead to the program"
for size in 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ "$(identify -format '%m %w %h' "$icon" 2>/dev/null)" = "PNG $size $size" ] ||
    fail "no $size x $size PNG icon at $icon"
done
"$prefix/bin/quentara-schedule" --amount 5000 --rate 4 --years 1 --date 01/31/2004 \
  >"$work/schedule.txt" || fail "the installed quentara-schedule did not run"
[ "$(stat -c %s "$work/schedule.txt")" -eq 1513 ] ||
  fail "the installed quentara-schedule wrote $(stat -c %s "$work/schedule.txt") bytes, not 1513"
while IFS= read -r file; do
  [ -e "$prefix/$file" ] || fail "the list of installed files names $file, which is missing"
done <"$folder/install-manifest.txt"

# The loan library from outside the source tree: a program built against the installed CMake
# package, the same file built with pkg-config, and the Python module imported from its folder.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
consumer="$source/tests/app/data/loan_consumer"
{ cmake -S "$consumer" -B "$work/consumer" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_PREFIX_PATH="$prefix" && cmake --build "$work/consumer"; } >"$work/consumer.log" 2>&1 ||
  fail "no program builds on the installed library: $(cat "$work/consumer.log")"
# pkg-config writes a space in a path as "\ "; xargs reads that as a space again.
mapfile -t flags < <(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs \
  quentara-loan | xargs printf '%s\n')
"$compiler" -std=c++20 "$consumer/main.cpp" "${flags[@]}" -o "$work/consumer/by_pkg_config" ||
  fail "no program builds with pkg-config's flags: ${flags[*]}"
for program in loan_consumer by_pkg_config; do
  [ "$("$work/consumer/$program")" = "304.15 425.75" ] || fail "$program printed the wrong payments"
done
# (The sanitized build has no Python module.)
if ! grep -q '^QUENTARA_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
  [ "$(cd "$work" && PYTHONPATH="$prefix/lib/python3/dist-packages" /usr/bin/python3 \
    -c 'import quentara; print(quentara.payment("15000", "8", months=60))')" = 304.15 ] ||
    fail "the installed Python module does not give the payment"
fi

entry="$prefix/share/applications/$id.desktop"
desktop-file-validate "$entry" || fail "the menu entry is not valid"
grep -qx 'Exec="'"$work"'/home of a\\\\$user/.local/share/quentara/quentara"' "$entry" ||
  fail "unexpected Exec line: $(grep '^Exec=' "$entry")"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/metainfo.log" ||
  fail "the metainfo is not valid: $(cat "$work/metainfo.log")"

# Started as the desktop's menu starts it.
gio launch "$entry" >"$work/launch.log" 2>&1 || fail "gio launch failed: $(cat "$work/launch.log")"
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quentara$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "the main window did not appear within 30 seconds"
pid=$(xdotool getwindowpid "$window")
[ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$folder/quentara")" ] ||
  fail "the window belongs to $(readlink -f "/proc/$pid/exe"), not the installed program"
# The installed icon (no window manager here gives a window one of its own).
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (48 x 48)' || fail "the main window has no icon"
xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
wait_for 30 focused "$window" || fail "the main window did not get the keyboard focus"
# The fourth Tab from the date field enters the payment field: the default loan is
# computed and its report (one year, 1513 bytes) written beside the program.
xdotool key --delay 100 Tab Tab Tab Tab || fail "xdotool key failed"
report_written() { [ -f "$folder/Loan.txt" ] && [ "$(stat -c %s "$folder/Loan.txt")" -eq 1513 ]; }
wait_for 30 report_written || fail "no Loan.txt of 1513 bytes in $folder within 30 seconds"
# Quit is 65 x 25 at 460, 325 of the client area (no window manager, no frame).
xdotool mousemove --window "$window" $((460 + 32)) $((325 + 12)) click 1 || fail "cannot click Quit"
wait_for 30 ended || fail "the program did not end after Quit"
pid=

PREFIX="$prefix" "$source/scripts/install" --uninstall >"$work/uninstall.log" 2>&1 ||
  fail "uninstalling failed: $(cat "$work/uninstall.log")"
grep -qxF "Your last report stays where it was written: $folder/Loan.txt" "$work/uninstall.log" ||
  fail "the uninstaller did not say where Loan.txt is: $(cat "$work/uninstall.log")"
left=$(cd "$prefix" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./share ./share/applications ./share/quentara ./share/quentara/Loan.txt " ] ||
  fail "left after uninstalling: $left"

fresh=$work/fresh/prefix
install_into "$fresh"
install_into "$fresh"
PREFIX="$fresh" "$source/scripts/install" --uninstall >"$work/uninstall.log" 2>&1 ||
  fail "uninstalling failed: $(cat "$work/uninstall.log")"
[ ! -e "$fresh" ] || fail "left after uninstalling: $(cd "$fresh" && find . | sort | tr '\n' ' ')"
echo "PASS: installed, started from the menu entry, wrote Loan.txt beside the program, uninstalled"
