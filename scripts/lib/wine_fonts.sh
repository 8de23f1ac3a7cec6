#!/usr/bin/env bash
# wine_map_fonts PREFIX: makes the program's dialog fonts available in a Wine prefix.
#  - Debian's Wine, started as /usr/lib/wine/wine64, does not find its own fonts (Tahoma for
#    captions, Marlett for the caption buttons); the prefix's font folder is always read.
#  - Verdana is not free; DejaVu Sans comes from the same design family, with close metrics.
#  - The Japanese dialog font names go to the IPA Gothic fonts, which keep the metrics of the
#    fonts they stand in for (IPAPGothic: ＭＳ Ｐゴシック; IPAGothic: ＭＳ ゴシック), so the Japanese
#    texts fit their controls; Noto Sans CJK JP is wider and crowds them.
# The registry file is UTF-16, so the Japanese value names survive any locale of the caller.
wine_map_fonts() {
    local prefix=$1 wine=${WINE64:-/usr/lib/wine/wine64}
    local fonts="$prefix/drive_c/windows/Fonts" reg
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    reg=$(mktemp --suffix=.reg)
    {
        printf '\xff\xfe'
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"Verdana"="DejaVu Sans"' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' \
            '"ＭＳ ゴシック"="IPAGothic"' \
            '"MS PGothic"="IPAPGothic"' \
            '"MS Gothic"="IPAGothic"' \
            '"MS UI Gothic"="IPAPGothic"' '' | iconv -f UTF-8 -t UTF-16LE
    } >"$reg"
    WINEPREFIX=$prefix "$wine" regedit /S "Z:$(tr / '\\' <<<"$reg")" >/dev/null 2>&1
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
    rm -f "$reg"
}
