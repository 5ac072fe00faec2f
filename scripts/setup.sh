#!/usr/bin/env bash
# Installs what building, testing and running Zarvic need on a Debian 12 machine.
# Safe to rerun: when every package is already installed it only checks and returns.
set -euo pipefail

packages=(
    # the native build and the simulated device's tests
    cmake make g++ googletest libgtest-dev
    # the fuzz targets: clang with its libFuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
    # the Windows builds (64- and 32-bit, posix thread model) and windres; the i686 compiler,
    # linker and dlltool also make the device image for CE on x86 (preset wince-x86)
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
    # running the 64-bit .exe (the 32-bit build is compiled, not run), and the X libraries
    # Wine's display driver loads at run time (rendering, input, clipboard notifications)
    wine64 wine libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
    libxfixes3 libxxf86vm1 libxext6 libfreetype6 fontconfig
    # a virtual X display, input, clipboard and screenshots for the end-to-end tests
    xvfb xauth xdotool xclip x11-utils imagemagick
    # Japanese glyphs in Wine (Droid Sans Fallback would make Latin text vanish)
    fonts-ipafont-gothic
    # the end-to-end harness (standard library only) and process tools
    python3 procps
    # instruction counts for scripts/bench.sh (callgrind and its valgrind/callgrind.h)
    valgrind
    # the simulated device and its tests built for the device's CPU family (armel, ARMv5TE)
    # and run under QEMU's user mode (preset sim-armel)
    g++-arm-linux-gnueabi qemu-user-static
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all ${#packages[@]} packages are installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        exec sudo -n "$0" "$@"
    fi
    echo "setup: must run as root to install packages" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# fonts-ipafont-gothic and the compilers need no recommended extras; wine's recommends
# pull in desktop integration this project does not use.
apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "setup: done"
