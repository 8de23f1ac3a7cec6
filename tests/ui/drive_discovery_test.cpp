// The model identifier check: both patterns anywhere in the text, case and spaces exact, the
// text ending at its first zero byte, and two-byte characters kept whole under code page 932.
#include <gtest/gtest.h>

#include <string>

#include "ui/drive_discovery.h"

namespace {

class SingleByte : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// Shift-JIS lead bytes, as code page 932 has them.
class ShiftJis : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char byte) const override {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
};

TEST(IsSupportedModel, FindsEitherPatternAnywhere) {
    SingleByte ansi;
    EXPECT_EQ(IsSupportedModel("7315KT52    ", ansi), 1);
    EXPECT_EQ(IsSupportedModel("7305KT52    ", ansi), 1);
    EXPECT_EQ(IsSupportedModel("VELMORA CDR 7305KT52    REV1", ansi), 1);
    EXPECT_EQ(IsSupportedModel("77315KT52    ", ansi), 1);  // after a false start
}

TEST(IsSupportedModel, RejectsNearMissesAndAnEmptyText) {
    SingleByte ansi;
    EXPECT_EQ(IsSupportedModel("", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315KT52", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315KT52   ", ansi), 0);  // three spaces: the text ends
    EXPECT_EQ(IsSupportedModel("7315KT52xxxx", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315kt52    ", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7325KT52    ", ansi), 0);
    const std::string cut = std::string("AB\0", 3) + "7315KT52    ";
    EXPECT_EQ(IsSupportedModel(cut.c_str(), ansi), 0);
}

TEST(IsSupportedModel, UnderADoubleByteCodePageALeadByteTakesTheByteAfterIt) {
    SingleByte ansi;
    ShiftJis sjis;
    // 0x83 starts a character whose second byte is the '7': no identifier starts there.
    const char* swallowed =
        "AB\x83"
        "7315KT52    ";
    EXPECT_EQ(IsSupportedModel(swallowed, ansi), 1);
    EXPECT_EQ(IsSupportedModel(swallowed, sjis), 0);
    // A whole two-byte character before the identifier leaves it at a character boundary.
    const char* afterKana =
        "\x83\x41"
        "7305KT52    ";
    EXPECT_EQ(IsSupportedModel(afterKana, sjis), 1);
    // A lead byte at the very end pairs with nothing.
    EXPECT_EQ(IsSupportedModel("7305KT52    \x83", sjis), 1);
}

}  // namespace
