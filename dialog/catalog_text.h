// The texts of a resource catalog in one language, as every backend without Win32 resources
// gives them to the program: the catalog holds UTF-8, the program works in the language's narrow
// (ANSI) code page, as it does on Windows: code page 932 (Shift-JIS) for Japanese, 1252 for
// English. A character the code page cannot hold becomes '?', as WideCharToMultiByte makes it.
#pragma once

#include <cstdint>
#include <string>

#include "dialog/string_table.h"
#include "res/resource_catalog.h"

class CatalogText : public StringTable {
public:
    // catalog: must outlive this object.
    CatalogText(const ResourceCatalog& catalog, uint16_t language);

    // StringTable: the string in this language and code page; empty when the id does not exist.
    std::string LoadText(int stringId) const override;
    bool IsLeadByte(unsigned char byte) const override;

    uint16_t Language() const { return language_; }
    // The dialog template in this language; nullptr when it does not exist.
    const DialogTemplate* FindDialog(int dialogId) const;

    std::string ToUtf8(const std::string& narrow) const;
    std::string ToNarrow(const std::string& utf8) const;

private:
    const ResourceCatalog& catalog_;
    const uint16_t language_;
    const char* const codePage_;  // the code page's name for iconv
};
