// The user's language, as the Windows resource loader takes it from the user's locale: on POSIX
// systems the locale variables LC_ALL, LC_MESSAGES and LANG, in that order of precedence.
#pragma once

#include <cstdint>

// kLanguageJapanese (1041) when the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty begins with "ja"; kLanguageEnglish (1033) otherwise.
uint16_t UserLanguageFromLocale();
