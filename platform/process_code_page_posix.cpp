#include "platform/process_code_page.h"

namespace {

class SingleByteCodePage : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

}  // namespace

const NarrowCodePage& ProcessNarrowCodePage() {
    static const SingleByteCodePage codePage;
    return codePage;
}
