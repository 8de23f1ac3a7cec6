// The log ring on its own: order, wrap-around, clearing, and the two cases where a plain ring
// would lose or corrupt text (a full ring, a text longer than a slot).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "settings/user_message.h"
#include "ui/log_ring.h"

namespace {

// Strings by id; bytes 0x81 to 0x9F lead two-byte characters, as in Shift-JIS.
class FakeStrings : public StringTable {
public:
    std::map<int, std::string> texts;
    std::string LoadText(int id) const override {
        auto it = texts.find(id);
        return it != texts.end() ? it->second : std::string();
    }
    bool IsLeadByte(unsigned char byte) const override { return byte >= 0x81 && byte <= 0x9F; }
};

std::string TakeAll(LogRing& ring) {
    std::string shown;
    while (ring.LogHasPending()) {
        shown += ring.LogPeek();
        shown += '|';
        ring.LogAdvance();
    }
    return shown;
}

TEST(LogRing, ShowsPiecesInOrderAndAnEmptyPieceForAMissingId) {
    FakeStrings strings;
    strings.texts = {{1, "a"}, {2, "b"}};
    LogRing ring(strings);
    EXPECT_EQ(ring.LogHasPending(), 0);
    ring.LogAppend(1);
    ring.LogAppend(77);
    ring.LogAppend(2);
    EXPECT_EQ(TakeAll(ring), "a||b|");
    EXPECT_EQ(ring.LogHasPending(), 0);
}

TEST(LogRing, WrapsAfterThirtyPiecesBackToSlotZero) {
    FakeStrings strings;
    std::string expected;
    for (int id = 0; id <= 30; ++id) {
        strings.texts[id] = std::to_string(id);
        expected += id < 30 ? std::to_string(id) + "|" : "";
    }
    LogRing ring(strings);
    for (int id = 0; id < 30; ++id) {
        ring.LogAppend(id);
    }
    EXPECT_EQ(TakeAll(ring), expected);
    ring.LogAppend(30);  // both indices are back at 0: the 31st piece lands in slot 0
    EXPECT_EQ(TakeAll(ring), "30|");
}

TEST(LogRing, AFullRingDropsTheNewPieceInsteadOfOverwritingAPendingOne) {
    FakeStrings strings;
    for (int id = 0; id < 32; ++id) {
        strings.texts[id] = "p" + std::to_string(id);
    }
    LogRing ring(strings);
    for (int id = 0; id < 32; ++id) {
        ring.LogAppend(id);
    }
    std::string expected;
    for (int id = 0; id < 30; ++id) {
        expected += "p" + std::to_string(id) + "|";
    }
    EXPECT_EQ(TakeAll(ring), expected);
}

TEST(LogRing, ClearDropsPendingPiecesAndAdvanceOnEmptyRingDoesNothing) {
    FakeStrings strings;
    strings.texts = {{1, "old"}, {2, "new"}};
    LogRing ring(strings);
    ring.LogAppend(1);
    ring.LogAppend(1);
    ring.LogClear();
    ring.LogAdvance();  // nothing pending: must not leave a negative count behind
    EXPECT_EQ(ring.LogHasPending(), 0);
    ring.LogAppend(2);
    EXPECT_EQ(TakeAll(ring), "new|");
}

TEST(LogRing, OverlongTextIsCutAtACharacterBoundary) {
    FakeStrings strings;
    // 198 single bytes and a two-byte character: the character would need bytes 198 and 199,
    // but byte 199 is the terminator's, so the whole character goes.
    strings.texts[1] = std::string(198, 'x') + "\x83\x94" + "tail";
    strings.texts[2] = std::string(250, 'y');
    LogRing ring(strings);
    ring.LogAppend(1);
    ring.LogAppend(2);
    EXPECT_EQ(std::string(ring.LogPeek()), std::string(198, 'x'));
    ring.LogAdvance();
    EXPECT_EQ(std::string(ring.LogPeek()), std::string(199, 'y'));
}

// A status line that names a node is queued as one piece: it must fit a slot whole, also in
// UTF-8 (the native window's narrow form) and with a long node name.
TEST(LogRing, AMessageNamingANodeFitsOneSlotInEitherLanguage) {
    for (uint16_t language : {kLanguageEnglish, kLanguageJapanese}) {
        const char* text = GeneratedResourceCatalog().FindString(IDS_NODE_ACCESS_DENIED, language);
        ASSERT_NE(text, nullptr);
        EXPECT_LT(FillPlaceholder(text, "/dev/sg1234").size(), size_t{LogRing::kSlotSize})
            << language;
    }
}

}  // namespace
