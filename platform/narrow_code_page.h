// The narrow (ANSI) code page of the process, as far as text handling needs it: which bytes start
// a two-byte character. Single-byte code pages have none.
#pragma once

class NarrowCodePage {
public:
    virtual ~NarrowCodePage() = default;
    // True when the byte starts a two-byte character (Shift-JIS lead bytes under code page 932).
    virtual bool IsLeadByte(unsigned char byte) const = 0;
};
