#!/usr/bin/env bash
# Builds the Debian package of a native build and checks it as a user's system would see it:
#   scripts/check-package.sh NATIVE_BUILD_DIR
# The package is unpacked into a scratch root (and, as root on a machine where that is wanted,
# installed with dpkg -i when CHECK_PACKAGE_INSTALL=1, as CI does); its desktop entry and
# AppStream metadata are validated, its dependencies must have been computed, nothing may be
# setuid or carry file capabilities, and the installed programs must start.
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "  FAIL $1"
    failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}" >"$work/out" 2>&1; then
        echo "  ok   $1"
    else
        fail "$1"
        sed 's/^/         /' "$work/out"
    fi
}

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/velmora-drive-utility_*.deb)
echo "package: $(basename "$deb")"
root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" >"$work/control"

echo "contents"
for path in usr/bin/velmora-drive-utility usr/bin/velmora-drive-utility-demo usr/bin/velmora-drive \
    usr/share/applications/org.velmora.DriveUtility.desktop \
    usr/share/metainfo/org.velmora.DriveUtility.metainfo.xml \
    usr/share/man/man1/velmora-drive-utility.1.gz usr/share/man/man1/velmora-drive.1.gz \
    usr/share/doc/velmora-drive-utility/copyright; do
    check "$path" test -s "$root/$path"
done
for size in 16 32 48 64 128 256; do
    icon="usr/share/icons/hicolor/${size}x${size}/apps/velmora-drive-utility.png"
    check "$icon is ${size}x${size}" grep -q "PNG image data, $size x $size" <(file "$root/$icon")
done

echo "metadata"
check "desktop entry valid" desktop-file-validate "$root/usr/share/applications/org.velmora.DriveUtility.desktop"
check "AppStream metadata valid" appstreamcli validate --no-net \
    "$root/usr/share/metainfo/org.velmora.DriveUtility.metainfo.xml"
check "dependencies computed from the libraries (Qt among them)" grep -Eq '^Depends:.*libqt6widgets6' "$work/control"
check "version from the project" grep -Eq "^Version: $(cat "$build/version.txt")\$" "$work/control"
check "manual pages render" bash -c "man -l '$root/usr/share/man/man1/velmora-drive-utility.1.gz' >/dev/null && man -l '$root/usr/share/man/man1/velmora-drive.1.gz' >/dev/null"

echo "permissions"
check "nothing setuid or setgid" test -z "$(find "$root" -perm /6000)"
check "no file capabilities" test -z "$(getcap -r "$root" 2>/dev/null)"

echo "the programs start"
bin="$root/usr/bin"
if [ "${CHECK_PACKAGE_INSTALL:-0}" = 1 ] && [ "$(id -u)" = 0 ]; then
    check "dpkg -i installs it with its dependencies present" dpkg -i "$deb"
    bin=/usr/bin
fi
check "velmora-drive --version" bash -c "'$bin/velmora-drive' --version | grep -qF \"$(cat "$build/version.txt")\""
check "velmora-drive --demo list finds the two demo drives" \
    bash -c "[ \"\$('$bin/velmora-drive' --demo list --json | grep -c '\"supported_drive\": true')\" -ge 2 ]"
# The window stays up until closed: still running after two seconds counts as started. Its
# single-instance name in a runtime directory of its own: a demo open elsewhere would take it.
mkdir -m 700 "$work/runtime"
check "the demo window starts (offscreen)" bash -c \
    "XDG_RUNTIME_DIR='$work/runtime' QT_QPA_PLATFORM=offscreen timeout 2 '$bin/velmora-drive-utility-demo'; [ \$? -eq 124 ]"

if [ "$failures" -gt 0 ]; then
    echo "package check: $failures failed"
    exit 1
fi
echo "package check: all passed"
