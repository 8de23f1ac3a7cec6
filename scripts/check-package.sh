#!/usr/bin/env bash
# Builds the Debian package of a native build and checks it as a user's system would see it:
#   scripts/check-package.sh NATIVE_BUILD_DIR
# The package is unpacked into a scratch root (and, as root on a machine where that is wanted,
# installed with dpkg -i when CHECK_PACKAGE_INSTALL=1, as CI does). lintian must find nothing in
# it, even at --pedantic and with its hints; its programs must be stripped and fortified; its
# desktop entry and AppStream metadata are validated, its changelog and AppStream release are
# this version, its dependencies must have been computed; nothing in it may be setuid or setgid,
# and no maintainer script may grant a program privileges (a .deb cannot carry file capabilities:
# only a script could set them); and the installed programs must start, the demo showing its
# window with its drives in the list.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# What appstreamcli 0.16 (Debian 12) reports of the metadata that is kept on purpose; anything
# else it reports fails. <developer> is AppStream 1.0's, newer than this validator;
# <developer_name> beside it serves older readers.
appstream_accepted=('unknown-tag developer')

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

# lintian's findings on a package, errors down to pedantic hints, overrides excepted; it succeeds
# only when there are none.
lintian_clean() {  # lintian_clean PACKAGE_FILE
    lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$1" 2>&1 |
        grep -v '^running with root privileges is not recommended!$'
    return "${PIPESTATUS[0]}"
}

appstream_clean() {  # appstream_clean METAINFO: valid, and no finding but the accepted ones
    local out accepted status=0
    out=$(appstreamcli validate --pedantic --no-net --no-color "$1") || status=1
    out=$(grep -E '^[EWIP]: ' <<<"$out" || true)
    for accepted in "${appstream_accepted[@]}"; do
        out=$(grep -vE "^[EWIP]: [^ ]+ $accepted( |\$)" <<<"$out" || true)
    done
    [ -z "$out" ] || { echo "$out"; status=1; }
    return "$status"
}

changelog_is_this_release() {  # changelog_is_this_release CHANGELOG_GZ METAINFO VERSION
    local version date
    zcat "$1" >"$work/changelog" &&
        version=$(dpkg-parsechangelog -l "$work/changelog" -S Version) &&
        date=$(date -u -d "$(dpkg-parsechangelog -l "$work/changelog" -S Date)" +%F) || return 1
    echo "the changelog's latest entry: $version of $date"
    [ "$version" = "$3" ] && grep -q "<release version=\"$3\" date=\"$date\"" "$2"
}

# No file in the data archive has the setuid or setgid bit, by the archive's own listing; those
# that have are printed.
nothing_privileged() {  # nothing_privileged PACKAGE_FILE
    ! dpkg-deb -c "$1" | awk '$1 ~ /^...[sS]/ || $1 ~ /^......[sS]/' | grep .
}

maintainer_scripts() {  # maintainer_scripts CONTROL_DIR: the scripts that dpkg would run, by name
    local script
    for script in preinst postinst prerm postrm config; do
        if [ -f "$1/$script" ]; then echo "$script"; fi
    done
}

# No maintainer script grants privileges: file capabilities (setcap), or a setuid or setgid mode
# given by chmod, install -m or dpkg-statoverride (u+s, g+s, +s, or a numeric 2xxx to 7xxx). The
# lines that do are printed, SCRIPT:LINE:TEXT.
no_privilege_grants() {  # no_privilege_grants CONTROL_DIR
    local scripts
    mapfile -t scripts < <(maintainer_scripts "$1")
    [ ${#scripts[@]} -eq 0 ] && return 0
    ! (cd "$1" && grep -nHE '(^|[^[:alnum:]_-])setcap([^[:alnum:]_-]|$)|(chmod|install|dpkg-statoverride)([[:space:]].*)?([[:space:]]|=|,)([ugoa]*[+=][rwxXt]*s|0?[2-7][0-7]{3})([[:space:],;]|$)' \
        "${scripts[@]}")
}

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/velmora-drive-utility_*.deb)
version=$(cat "$build/version.txt")
echo "package: $(basename "$deb")"
root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control-archive"
dpkg-deb -f "$deb" >"$work/control"

echo "contents"
doc=usr/share/doc/velmora-drive-utility
man=usr/share/man/man1
metainfo="$root/usr/share/metainfo/org.velmora.driveutility.metainfo.xml"
for path in usr/bin/velmora-drive-utility usr/bin/velmora-drive-utility-demo usr/bin/velmora-drive \
    usr/share/applications/org.velmora.driveutility.desktop \
    usr/share/metainfo/org.velmora.driveutility.metainfo.xml \
    $man/velmora-drive-utility.1.gz $man/velmora-drive.1.gz $doc/copyright $doc/changelog.gz \
    usr/share/bash-completion/completions/velmora-drive usr/share/zsh/vendor-completions/_velmora-drive \
    usr/share/fish/vendor_completions.d/velmora-drive.fish \
    usr/share/velmora-drive-utility/velmora-drive.schema.json; do
    check "$path" test -s "$root/$path"
done
check "$man/velmora-drive-utility-demo.1.gz links to the window's page" \
    test "$(readlink "$root/$man/velmora-drive-utility-demo.1.gz")" = velmora-drive-utility.1.gz
check "usr/lib/modules-load.d/velmora-drive-utility.conf loads sg at boot" \
    test "$(grep -v '^#' "$root/usr/lib/modules-load.d/velmora-drive-utility.conf")" = sg
for size in 16 32 48 64 128 256; do
    icon="usr/share/icons/hicolor/${size}x${size}/apps/velmora-drive-utility.png"
    check "$icon is ${size}x${size}" grep -q "PNG image data, $size x $size" <(file "$root/$icon")
done
# Each program fortified: it calls a checked function of the C library.
for program in velmora-drive-utility velmora-drive-utility-demo velmora-drive; do
    check "$program stripped, fortified (calls __*_chk)" bash -c \
        "file '$root/usr/bin/$program' | grep -q ', stripped' &&
         nm -D --undefined-only '$root/usr/bin/$program' | grep -Eq ' __[a-z0-9_]+_chk@'"
done

echo "metadata"
check "lintian: nothing, at --pedantic with hints (-I)" lintian_clean "$deb"
check "desktop entry valid" desktop-file-validate "$root/usr/share/applications/org.velmora.driveutility.desktop"
check "AppStream metadata valid at --pedantic (offline)" appstream_clean "$metainfo"
check "changelog and AppStream release: $version of the project's date" \
    changelog_is_this_release "$root/$doc/changelog.gz" "$metainfo" "$version"
check "dependencies computed from the libraries (Qt among them)" grep -Eq '^Depends:.*libqt6widgets6' "$work/control"
check "version from the project" grep -Eq "^Version: $version\$" "$work/control"
check "manual pages render" bash -c "man -l '$root/$man/velmora-drive-utility.1.gz' >/dev/null &&
    man -l '$root/$man/velmora-drive-utility-demo.1.gz' >/dev/null &&
    man -l '$root/$man/velmora-drive.1.gz' >/dev/null"

echo "permissions"
check "nothing setuid or setgid" nothing_privileged "$deb"
present=$(maintainer_scripts "$work/control-archive" | paste -sd " ")
echo "  maintainer scripts: ${present:-none}"
check "no maintainer script sets capabilities or a setuid or setgid mode" \
    no_privilege_grants "$work/control-archive"

echo "the programs start"
bin="$root/usr/bin"
if [ "${CHECK_PACKAGE_INSTALL:-0}" = 1 ] && [ "$(id -u)" = 0 ]; then
    check "dpkg -i installs it with its dependencies present" dpkg -i "$deb"
    bin=/usr/bin
fi
check "velmora-drive --version" bash -c "'$bin/velmora-drive' --version | grep -qF \"$version\""
check "velmora-drive --demo list finds the two demo drives" \
    bash -c "[ \"\$('$bin/velmora-drive' --demo list --json | grep -c '\"supported_drive\": true')\" -ge 2 ]"
check "the demo's window shows its two drives (Xvfb, read through AT-SPI)" \
    bash "$here/lib/check_demo_window.sh" "$bin/velmora-drive-utility-demo" 2
# Removed again, so that the machine is left as it was and a later run installs afresh.
if [ "$bin" = /usr/bin ]; then
    package=$(dpkg-deb -f "$deb" Package)
    check "dpkg -r removes it and its programs" \
        bash -c "dpkg -r '$package' >/dev/null && [ ! -e /usr/bin/velmora-drive ]"
fi

if [ "$failures" -gt 0 ]; then
    echo "package check: $failures failed"
    exit 1
fi
echo "package check: all passed"
