// The program's narrow texts (code page 932 or 1252, lines ended by "\r\n") as Qt shows them, and
// the menu and label forms of a Win32 text: "&" marks a mnemonic, "&&" is a plain "&".
#pragma once

#include <QString>
#include <string>

#include "dialog/catalog_text.h"

// Unicode, with "\r\n" as "\n" (a lone "\r" is dropped, as an edit control shows it as nothing).
QString DisplayText(const CatalogText& text, const std::string& narrow);
// Back to a narrow text with "\r\n" line ends, as GetWindowTextA gives it.
std::string NarrowText(const CatalogText& text, const QString& display);
// A static text's Win32 prefix processing: "&x" shows x, "&&" shows "&".
QString WithoutMnemonics(const QString& text);
