// Texts of the string table by id, in the user's language, converted to the narrow (ANSI) code
// page of the process. Implemented by each dialog backend.
#pragma once

#include <string>

class StringTable {
public:
    virtual ~StringTable() = default;
    // The text of the id; empty when the id does not exist.
    virtual std::string LoadString(int stringId) const = 0;
    // True when the byte starts a two-byte character of the narrow code page (Shift-JIS lead
    // bytes under code page 932; never under single-byte code pages).
    virtual bool IsLeadByte(unsigned char byte) const = 0;
};
