#!/usr/bin/env bash
# Runs one Windows program under Wine, in a Wine prefix made fresh for this
# run and removed after it. CMake uses it (through the wrapper that
# cmake/Wine.cmake writes into the build folder) as the emulator of a
# Windows build: CTest and the test discovery of gtest_discover_tests run
# every test program through it.
#
#   wine-run.sh --root DIR [--arch win32|win64] [--display] [--setup COMMAND]
#               PROGRAM [ARGUMENTS...]
#
# DIR (in the build folder) holds:
#   template-ARCH/          a prefix made once by wineboot (about 15 s)
#   template-ARCH.private   the template's files that a run gets a copy of
#   runs/XXXXXX/            the prefix and Wine's socket folder of each run
#                           in progress
#   boot-ARCH.log           what wineboot said
#
# A run's prefix is the template with its files hard-linked, except the ones
# Wine or a program may rewrite in place (the registry, .ini, .inf and the
# like), which are copied. The linked files are the DLLs, programs and code
# pages that wineboot installed: 1.3 GB that nothing opens for writing once
# the prefix is made. Making a run's prefix so takes about 60 ms. A program
# may create, change and delete files anywhere under its C:\ (its temporary
# folder is C:\users\USER\Temp) without touching the template or another run.
#
# --setup runs the shell command COMMAND in the run's prefix just before the
# program, with WINEPREFIX naming the prefix and the same Wine server, for a
# test that puts files into its C:\ or values into its registry (wine reg add).
#
# The template has Wine's crash dialog off, and Tahoma in the Arabic
# character set stands for DejaVu Sans in it (FontSubstitutes): Windows'
# Tahoma has Arabic, Wine's has not, and Wine would draw the windows' texts
# (Tahoma, Arabic character set) in a Courier-like bitmap font instead.
# Its windows are Wine's own to manage (X11 Driver, Managed=N), as on
# Windows, where no X window manager takes part: the tests' displays have
# none, and a window Wine leaves to a window manager costs 2 s each time it
# leaves the screen, waiting for a manager that never answers.
#
# Each run is headless and quiet: no display (a window fails to open instead
# of waiting for a click) unless --display keeps the X display of DISPLAY
# (for the tests that drive windows), WINEDEBUG=-all, no desktop menu entries written
# into $HOME, no Mono or Gecko installer. Its Wine processes (wineserver,
# services.exe, ...) run in a PID namespace of their own where unshare can
# make one, so none outlives the run, even when CTest kills it on a timeout.
#
# Environment:
#   HALVANE_WINEDEBUG   WINEDEBUG for the program (default -all; for example
#                       err+all to see Wine's errors)
#   HALVANE_WINE_KEEP=1 keep the run's prefix and print where it is
set -euo pipefail

root=""
arch=win64
display=""
setup=""
while (($#)); do
    case "$1" in
    --root) root=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --display) display=${DISPLAY:-}; shift ;;
    --setup) setup=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done
if [[ -z $root || $# -eq 0 || ($arch != win32 && $arch != win64) ]]; then
    echo "usage: $0 --root DIR [--arch win32|win64] [--display] [--setup COMMAND]" \
        "PROGRAM [ARGUMENTS...]" >&2
    exit 2
fi
if ! wine=$(command -v wine); then
    echo "wine-run: wine is not installed (see cmake/windows-deps.sh)" >&2
    exit 127
fi
mkdir -p "$root/runs"
root=$(cd "$root" && pwd)
template=$root/template-$arch

export WINEARCH=$arch
# winemenubuilder would write menu entries and file types into $HOME at every
# session start; nothing here needs it.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY WINESERVER WINELOADER

# The command that runs Wine in a PID namespace of its own: when its first
# process ends, the kernel ends every other one (wineserver, services.exe,
# ...), and no graceful shutdown (about 1 s a run) is waited for.
sandbox=()
for try in "unshare --pid --fork --mount-proc --kill-child" \
    "unshare --user --map-root-user --pid --fork --mount-proc --kill-child"; do
    # shellcheck disable=SC2086
    if $try true 2>/dev/null; then
        read -ra sandbox <<<"$try --"
        break
    fi
done

# in_wine PREFIX TMPDIR COMMAND...: COMMAND with Wine pointed at PREFIX;
# wineserver puts its socket folder under TMPDIR (Debian's Wine does).
in_wine() {
    local prefix=$1 tmp=$2
    shift 2
    if ((${#sandbox[@]})); then
        WINEPREFIX=$prefix TMPDIR=$tmp "${sandbox[@]}" "$@"
    else
        local status=0
        WINEPREFIX=$prefix TMPDIR=$tmp "$@" || status=$?
        WINEPREFIX=$prefix TMPDIR=$tmp wineserver -k 2>/dev/null || true
        return "$status"
    fi
}

# Wine updates a prefix whose .update-timestamp differs from the mtime of its
# wine.inf: after an upgrade of Wine the template is made anew, since an
# update in a run's prefix would rewrite the linked files in place.
wine_inf=$(dirname "$(readlink -f "$wine")")/../share/wine/wine.inf
# Names what make_template puts into a template beyond wineboot's prefix: a
# template made otherwise is made anew.
recipe="crash-dialog-off tahoma-arabic unmanaged-windows"
template_current() {
    [[ -f $template.private && -f $template/.update-timestamp ]] || return 1
    [[ $(cat "$template/.halvane-recipe" 2>/dev/null) == "$recipe" ]] || return 1
    [[ -f $wine_inf ]] || return 0
    [[ $(tr -dc 0-9 <"$template/.update-timestamp") == "$(stat -c %Y "$wine_inf")" ]]
}

make_template() {
    local new log=$root/boot-$arch.log
    rm -rf "$template" "$template.private" "$root"/template-"$arch".new.*
    new=$(mktemp -d "$root/template-$arch.new.XXXXXX")
    mkdir "$new/prefix" "$new/tmp"
    echo "wine-run: making the $arch Wine prefix template (once per build folder)" >&2
    # wineserver -w waits until the server has saved the registry and ended.
    if ! WINEDEBUG=-all WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=" \
        in_wine "$new/prefix" "$new/tmp" sh -c '
            wineboot --init &&
            wine reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
            wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
                /v "Tahoma,178" /d "DejaVu Sans,178" /f &&
            wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f &&
            wineserver -w' >"$log" 2>&1; then
        echo "wine-run: wineboot failed; see $log" >&2
        rm -rf "$new"
        return 1
    fi
    (
        cd "$new/prefix"
        # Names the socket folder of the server that made it; each run's
        # server gets its own.
        rm -f wineserver
        # Desktop, Documents, ... are links to $HOME: made plain folders, so
        # that a program's files stay in its prefix.
        find drive_c/users -maxdepth 2 -type l -lname '/*' -exec sh -c 'rm "$1" && mkdir "$1"' sh {} \;
        find . -type f ! -regex '.*\.\(dll\|exe\|drv\|sys\|ocx\|cpl\|acm\|ax\|tlb\|nls\|vxd\|com\|ds\|mod\|msstyles\)' \
            -print0
    ) >"$new/private"
    echo "$recipe" >"$new/prefix/.halvane-recipe"
    mv "$new/prefix" "$template"
    mv "$new/private" "$template.private"
    rm -rf "$new"
}

# Makes the template when needed (one process at a time) and the run's
# prefix from it. Runs whose wrapper is gone (killed) are cleaned up here.
run=$(mktemp -d "$root/runs/XXXXXX")
echo $$ >"$run/pid"
# shellcheck disable=SC2317 # called by the EXIT trap
cleanup() {
    if [[ ${HALVANE_WINE_KEEP:-} == 1 ]]; then
        echo "wine-run: prefix kept in $run/prefix" >&2
    else
        rm -rf "$run"
    fi
}
trap cleanup EXIT
{
    flock 9
    template_current || make_template
    for dir in "$root"/runs/*/; do
        pid=$(cat "$dir/pid" 2>/dev/null) || continue
        kill -0 "$pid" 2>/dev/null || rm -rf "$dir"
    done
} 9>"$root/lock"
mkdir "$run/tmp"
cp -al "$template" "$run/prefix"
(cd "$template" && xargs -0 -r cp -a --remove-destination --parents -t "$run/prefix") <"$template.private"

status=0
[[ -n $display ]] && export DISPLAY=$display
command=(wine "$@")
# The setup and the program share one Wine server, started first and kept
# until the run ends. Debian's wineserver ends the moment its last client
# does (-p0): a program started right after the setup's last wine command
# could connect to a server on its way out and fail with "wine client error:
# recvmsg: Connection reset by peer".
# shellcheck disable=SC2016 # expanded by the inner shell
[[ -n $setup ]] && command=(sh -c 'wineserver -p && '"$setup"' && exec wine "$@"' wine-run-setup "$@")
WINEDEBUG=${HALVANE_WINEDEBUG:--all} in_wine "$run/prefix" "$run/tmp" "${command[@]}" || status=$?
if ((status == 53)); then
    # The low byte of STATUS_DLL_NOT_FOUND, which Wine reports silently here.
    echo "wine-run: exit status 53: $1 may need a DLL that is not there" \
        "(HALVANE_WINEDEBUG=err+module tells which)" >&2
fi
exit "$status"
