#include <windows.h>

#include "platform/process_code_page.h"

namespace {

class AnsiCodePage : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char byte) const override { return IsDBCSLeadByte(byte) != FALSE; }
};

}  // namespace

const NarrowCodePage& ProcessNarrowCodePage() {
    static const AnsiCodePage codePage;
    return codePage;
}
