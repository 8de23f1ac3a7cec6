#!/usr/bin/env bash
# Builds the 64-bit Windows demo and starts it under Wine on this display: the whole program with
# two simulated drives at E and G, so it can be tried without a drive. Installs what it needs
# first when run as root (Debian 12). The window's language follows LANG (ja_JP.UTF-8 for
# Japanese).
#   scripts/run.sh
# Wine prefix: $WINEPREFIX, or ~/.local/share/velmora-drive-utility/wine (made on first use).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/lib/wine_fonts.sh

if [ "$(id -u)" = 0 ]; then
    scripts/install-deps.sh
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: no X display (DISPLAY is not set); start it from a desktop session" >&2
    exit 1
fi

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
