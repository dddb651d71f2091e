#!/usr/bin/env bash
# Checks the Debian package the way its users get it: validates the desktop
# entry, the AppStream metadata and the package (lintian), installs it with
# apt-get, fills a table with the shamsi-dates found on the PATH, checks the
# desktop integration is installed, lets the qrx2 on the PATH do the whole
# job through its windows, and removes the package again, checking nothing of
# it stays behind.
#
# Usage: dist/linux/check-package.sh PACKAGE.deb BUILD_BIN_DIR
# BUILD_BIN_DIR holds make-table (the sample tables). Installs and removes the
# package on this machine: run it as root or with sudo rights.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ $# -ne 2 ]; then
    sed -n '2,/^set /p' "$0" | grep '^#' | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
deb=$(realpath "$1")
bin=$(realpath "$2")
package=halvane-shamsi-dates
app_id=org.example.halvane.ShamsiDates
program_dir=/usr/lib/$package
desktop=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
# Waits for another apt or dpkg to finish instead of failing on its lock.
apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; }

failures=0
check() { # check WHAT COMMAND [ARGS...]: WHAT holds when COMMAND succeeds
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what" >&2
        failures=$((failures + 1))
    fi
}
absent() { [ ! -e "$1" ] && [ ! -L "$1" ]; }
not() { ! "$@"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/check-package.XXXXXX")
# Whatever stops the check, the package it installed does not stay.
cleanup() {
    if [ -n "${we_installed:-}" ] && installed; then
        apt remove -y -qq "$package" >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "== validating $deb"
dpkg-deb -x "$deb" "$work/root"
version=$(dpkg-deb -f "$deb" Version)
check "desktop-file-validate" desktop-file-validate "$work/root$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$work/root$metainfo"
# Warnings fail too; the tags that stay are overridden, each with its reason,
# in dist/linux/lintian-overrides.
check "lintian" lintian --fail-on error,warning --display-info "$deb"
# The release the metadata and the changelog announce is the package's.
check "AppStream release $version" grep -q "<release version=\"$version\"" "$work/root$metainfo"
zcat "$work/root/usr/share/doc/$package/changelog.gz" | head -1 >"$work/changelog-head"
check "changelog entry $version" grep -q "^$package ($version)" "$work/changelog-head"

echo "== installing"
if installed; then
    echo "$package is installed already; removing it first"
    apt remove -y -qq "$package" >/dev/null
fi
we_installed=yes
apt install -y -qq --no-install-recommends "$deb" >/dev/null
check "installed $package $version" installed

for program in shamsi-dates qrx2; do
    check "$program on the PATH is /usr/bin/$program" \
        test "$(command -v "$program" || true)" = "/usr/bin/$program"
    check "/usr/bin/$program leads to $program_dir/$program" \
        test "$(readlink -f "/usr/bin/$program")" = "$program_dir/$program"
    check "$program finds its libraries" not grep -q "not found" <(ldd "$program_dir/$program")
    check "man $program" man -w "$program"
done
for file in "$desktop" "$metainfo" "$program_dir/DATES.TXT" "$program_dir/wait.BMP" \
    "$program_dir/success.BMP" "$program_dir/1.BMP" "$program_dir/15.BMP"; do
    check "$file" test -f "$file"
done
for size in 16 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    check "icon $size px" test "$(identify -format '%wx%h' "$icon" 2>&1)" = "${size}x${size}"
done
check "the menu entry is Halvane Shamsi Dates" grep -qx "Name=Halvane Shamsi Dates" "$desktop"
check "the menu entry starts qrx2" grep -qx "Exec=qrx2" "$desktop"
check "the menu entry's second action starts qrx2 --exact" grep -qx "Exec=qrx2 --exact" "$desktop"
check "the menu entry says where the table goes" grep -q "^Comment=.*\$WINEPREFIX/drive_c/Shamsi.dbf (default ~/.wine/drive_c)" "$desktop"
check "the AppStream text says where the table goes" grep -q "\$WINEPREFIX/drive_c/Shamsi.dbf" "$metainfo"

echo "== filling a table with shamsi-dates from the PATH"
# From another directory, so DATES.TXT can only come from the program
# directory, reached through the link in /usr/bin.
"$bin/make-table" "$work/table.dbf" --records 40 --out-of-range 1 >/dev/null
cp "$work/table.dbf" "$work/original.dbf"
status=0
(cd "$work" && shamsi-dates table.dbf >"$work/out.txt" 2>&1) || status=$?
cat "$work/out.txt"
check "shamsi-dates exit status 0 (was $status)" test $status -eq 0
check "summary line" grep -q "^table.dbf: 40 records, .* dates converted, .* not found" \
    "$work/out.txt"
# Every destination of every record, and every byte outside them, checked by
# an independent reader (python3-dbfread) against the installed DATES.TXT.
check "filled table" /usr/bin/python3 tests/cli/check_filled_table.py \
    "$work/original.dbf" "$work/table.dbf" "$program_dir/DATES.TXT"

# Without a table named, the windowed program's: Shamsi.dbf in Wine's drive C:.
mkdir -p "$work/wine/drive_c"
"$bin/make-table" "$work/wine/drive_c/Shamsi.dbf" --records 3 >/dev/null
cp "$work/wine/drive_c/Shamsi.dbf" "$work/original-default.dbf"
status=0
(cd / && WINEPREFIX="$work/wine" shamsi-dates >/dev/null) || status=$?
check "shamsi-dates without a table: exit status 0 (was $status)" test $status -eq 0
check "default table in \$WINEPREFIX/drive_c filled" /usr/bin/python3 \
    tests/cli/check_filled_table.py "$work/original-default.dbf" \
    "$work/wine/drive_c/Shamsi.dbf" "$program_dir/DATES.TXT"

echo "== the whole job in the windows, by the qrx2 on the PATH"
# Real mouse clicks on an X display (Xvfb), from a directory not its own, the
# table checked against an independent calendar afterwards (exit status 77:
# Xvfb, xdotool, x11-utils or imagemagick is missing).
check "qrx2 did the whole job" /usr/bin/python3 tests/e2e/qrx2_e2e.py /usr/bin/qrx2
check "qrx2 --exact did the whole job" /usr/bin/python3 tests/e2e/qrx2_e2e.py --exact /usr/bin/qrx2

echo "== removing"
apt remove -y -qq "$package" >/dev/null
check "removed $package" not installed
for path in /usr/bin/shamsi-dates /usr/bin/qrx2 "$program_dir" "$desktop" "$metainfo" \
    /usr/share/doc/$package /usr/share/man/man1/shamsi-dates.1.gz /usr/share/man/man1/qrx2.1.gz \
    /usr/share/icons/hicolor/*/apps/"$app_id".png; do
    check "$path is gone" absent "$path"
done

if ((failures)); then
    echo "check-package: $failures checks failed" >&2
    exit 1
fi
echo "check-package: $deb validates, installs, fills tables, runs and is removed cleanly"
