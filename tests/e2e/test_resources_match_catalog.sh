#!/usr/bin/env bash
# The dialog templates and strings compiled into the Windows executable are the ones the native
# build's resource catalog was generated with: every field of every control, every string.
source "$(dirname "$0")/lib/gui_test.sh"

dump=$E2E_NATIVE_BUILD/res/resource_catalog_dump
[ -x "$dump" ] || { echo "FAIL: missing $dump (build the native targets)"; exit 1; }
[ -x "$GUI_APP_EXE" ] || { echo "FAIL: missing $GUI_APP_EXE"; exit 1; }
[ -e "$WINEPREFIX/system.reg" ] || "$GUI_WINE" wineboot -i >/dev/null 2>&1

echo "compiled resources against the generated catalog"
"$dump" | sort >"$E2E_WORK/catalog.txt"
gui_auto dump-resources "$(winepath_of "$GUI_APP_EXE")" | sort >"$E2E_WORK/compiled.txt"
expect_line "the executable holds both main dialogs" "$(cat "$E2E_WORK/compiled.txt")" \
    "^dialog 102 1041 "
if diff -u "$E2E_WORK/catalog.txt" "$E2E_WORK/compiled.txt"; then
    echo "  ok   $(wc -l <"$E2E_WORK/catalog.txt") lines identical"
else
    echo "  FAIL the executable's resources differ from the catalog"
    GUI_FAILURES=$((GUI_FAILURES + 1))
fi
gui_test_end
