#!/usr/bin/env bash
# Installs, from Debian's archive, everything the build, the tests and the scripts use, the
# Debian package's checks among them (file, desktop-file-validate, appstreamcli, lintian). Run as
# root.
# Packages already present are left alone, so a second run costs nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git python3 clang libclang-rt-14-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libcli11-dev nlohmann-json3-dev jq man-db python3-jsonschema
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
    wine wine64 fonts-wine fonts-dejavu-core xvfb xdotool x11-utils imagemagick fonts-noto-cjk
    fonts-ipafont-gothic locales
    qt6-base-dev qt6-base-dev-tools libqt6test6 libxcb1-dev openbox
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0 sway qt6-wayland
    file desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The end-to-end tests run the program under Wine in English and Japanese. Wine takes the user's
# language from the C library's locale, so both locales must exist, not just be named in LANG.
wanted_locales=(en_US.UTF-8 ja_JP.UTF-8)
missing_locales=()
for l in "${wanted_locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || missing_locales+=("$l")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
    echo "generating locales: ${missing_locales[*]}"
    for l in "${missing_locales[@]}"; do
        sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    done
    locale-gen >/dev/null
fi
