#!/usr/bin/env bash
# Builds the native demo and starts it on this display: the whole program with two simulated
# drives at E and G, so it can be tried without a drive. Installs what it needs first when run as
# root (Debian 12). The window's language follows the locale (LANG=ja_JP.UTF-8 for Japanese).
#   scripts/run.sh          the native Linux demo (Qt), build/native/app/velmora-drive-utility-demo
#   scripts/run.sh --wine   the 64-bit Windows demo under Wine instead
# Wine prefix (--wine): $WINEPREFIX, or ~/.local/share/velmora-drive-utility/wine (made on first use).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

wine=0
case "${1:-}" in
    --wine) wine=1 ;;
    "") ;;
    *)
        echo "usage: scripts/run.sh [--wine]" >&2
        exit 2
        ;;
esac

if [ "$(id -u)" = 0 ]; then
    scripts/install-deps.sh
fi
if [ -z "${DISPLAY:-}" ] && { [ "$wine" = 1 ] || [ -z "${WAYLAND_DISPLAY:-}" ]; }; then
    echo "run.sh: no display (DISPLAY is not set); start it from a desktop session" >&2
    exit 1
fi

if [ "$wine" = 0 ]; then
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDRIVE_UTILITY_GUI=qt >/dev/null
    cmake --build build/native --target velmora-drive-utility-demo -j "$(nproc)"
    exec build/native/app/velmora-drive-utility-demo
fi

source scripts/lib/wine_fonts.sh
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake" >/dev/null
cmake --build build/win64 --target VelmoraDriveUtilityDemo -j "$(nproc)"

export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/velmora-drive-utility/wine}
export WINEDEBUG=${WINEDEBUG:--all}
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
fi
wine_map_fonts "$WINEPREFIX"
exec /usr/lib/wine/wine64 build/win64/app/VelmoraDriveUtilityDemo.exe
