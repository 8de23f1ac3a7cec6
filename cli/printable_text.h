// Text that came from a drive (its INQUIRY data, its model identification), made safe to print:
// a drive may send any bytes, and control characters must not reach a terminal as escape
// sequences nor bytes that are not UTF-8 reach a JSON document.
#pragma once

#include <string>

// Printable ASCII as it is; every other byte as \xNN (upper-case hex), a backslash as \\.
std::string PrintableText(const std::string& raw);

// The text without its trailing spaces (the drives pad their fields with spaces).
std::string WithoutTrailingSpaces(const std::string& text);
