// The character set of the user's locale, in which a terminal shows the program's text, and text
// converted to it: the program's texts are UTF-8, and a locale such as ja_JP.eucJP or ja_JP.SJIS
// shows other bytes. On Windows the console is switched to UTF-8 (platform/console_session.h), so
// there is nothing to convert.
#pragma once

#include <string>

// The codeset as the C library names it once the locale of LC_ALL, LC_CTYPE or LANG is set
// ("UTF-8", "EUC-JP", "SHIFT_JIS"); for a locale that is not installed, the codeset its name
// gives ("eucJP" of ja_JP.eucJP); "UTF-8" when neither says. The process's own locale is left as
// it was. Call it before other threads start: the C library's locale is the whole process's.
std::string UserLocaleCodeset();

// Whether the codeset is UTF-8, in any of its spellings ("UTF-8", "utf8").
inline bool IsUtf8Codeset(const std::string& codeset) {
    std::string plain;
    for (const char c : codeset) {
        if (c != '-' && c != '_') {
            plain += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return plain == "utf8";
}

// The UTF-8 text in the codeset; false when the system does not know the codeset or the codeset
// has no character for part of the text.
bool ConvertFromUtf8(const std::string& text, const std::string& codeset, std::string* converted);
