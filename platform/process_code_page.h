// The narrow code page of the running process, for code that scans narrow text outside any
// dialog backend (the command-line companion's drive discovery): on Windows the ANSI code page
// (Shift-JIS lead bytes under code page 932); elsewhere single-byte, as the drives' texts are.
#pragma once

#include "platform/narrow_code_page.h"

const NarrowCodePage& ProcessNarrowCodePage();
