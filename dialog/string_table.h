// Texts of the string table by id, in the user's language, converted to the narrow (ANSI) code
// page of the process. Implemented by each dialog backend.
#pragma once

#include <string>

#include "platform/narrow_code_page.h"

class StringTable : public NarrowCodePage {
public:
    virtual ~StringTable() = default;
    // The text of the id; empty when the id does not exist.
    virtual std::string LoadText(int stringId) const = 0;
};
