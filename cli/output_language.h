// The language of the human output: Japanese when the locale begins with "ja", else English. The
// locale is the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, as the C
// library takes it; when none is, the system's user-interface language decides (Windows).
#pragma once

#include <cstdint>

// The variables' values, nullptr when unset; systemLanguage a Windows language id or 0.
uint16_t ChooseOutputLanguage(const char* lcAll, const char* lcMessages, const char* lang,
                              uint16_t systemLanguage);

// The same from this process's environment and system.
uint16_t OutputLanguageOfProcess();
