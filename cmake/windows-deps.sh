# Debian 12 packages for the Windows cross build and for running its tests
# under Wine. Sourced by ./dev, or by hand:
#   . cmake/windows-deps.sh && deps_windows
#
# g++-mingw-w64-i686-posix     32-bit Windows compiler (the shipped build)
# g++-mingw-w64-x86-64-posix   64-bit Windows compiler
# googletest                   GoogleTest sources, compiled for the target
# wine, wine64                 Wine and its 64-bit loader
# wine32:i386                  the 32-bit loader, which runs 32-bit programs;
#                              needs the i386 architecture
# fonts-wine                   Wine's Tahoma and MS Sans Serif, the windows' fonts
# fonts-dejavu-core            DejaVu Sans, standing in for Tahoma's Arabic
#                              (see cmake/wine-run.sh)
# nsis                         makensis, which makes the Windows installer
# Installs only what is missing: a second call does nothing and reaches no
# network. As another user than root it calls sudo.
HALVANE_WINDOWS_PACKAGES=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest
    wine wine64 wine32:i386 fonts-wine fonts-dejavu-core nsis
    xvfb xauth # the window tests run under Wine on a display of their own
)

# apt_install PACKAGE...: apt-get update, then the install; three tries a
# minute apart. A mirror caught in the middle of a sync serves a package list
# that does not match its release file ("File has unexpected size ... Mirror
# sync in progress?"): apt ignores that list, and a 32-bit library can then
# be missing in the version its 64-bit half has ("held broken packages").
apt_install() {
    local sudo="" try
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    for try in 1 2 3; do
        # A list that fails to download is left out; the install tells
        # whether it mattered.
        $sudo apt-get update -qq || true
        if $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends "$@"; then
            return 0
        fi
        if ((try < 3)); then
            echo "apt_install: the install failed (a mirror in the middle of a sync?);" \
                "trying again in 60 s" >&2
            sleep 60
        fi
    done
    return 1
}

deps_windows() {
    local sudo="" missing=() p
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    for p in "${HALVANE_WINDOWS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    apt_install "${missing[@]}"
}
