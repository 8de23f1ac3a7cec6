// The texts a backend without Win32 resources gives the program: strings of the chosen language
// only, in that language's narrow code page, with '?' for what the code page cannot hold.
#include "dialog/catalog_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

constexpr uint16_t kLanguageGerman = 1031;

// A catalog of the test's own, so that nothing depends on the program's generated texts.
class SmallCatalog : public ResourceCatalog {
public:
    const DialogTemplate* FindDialog(int dialogId, uint16_t language) const override {
        for (const DialogTemplate* dialog : {&english_, &japanese_}) {
            if (dialog->id == dialogId && dialog->language == language) {
                return dialog;
            }
        }
        return nullptr;
    }
    const char* FindString(int stringId, uint16_t language) const override {
        const auto found = strings_.find({stringId, language});
        return found != strings_.end() ? found->second : nullptr;
    }

private:
    DialogTemplate english_{7, kLanguageEnglish, "English", "", 8, 0, 0, 0, 10, 10, 0,
                            0, nullptr,          0};
    DialogTemplate japanese_{7, kLanguageJapanese, "日本語", "", 9, 128, 0, 0, 10, 10, 0,
                             0, nullptr,           0};
    std::map<std::pair<int, uint16_t>, const char*> strings_{
        {{1, kLanguageEnglish}, "Café"},
        {{1, kLanguageJapanese}, "対応ﾄﾞﾗｲﾌﾞ"},
        {{2, kLanguageEnglish}, "only in English"},
    };
};

TEST(CatalogText, LoadsTheStringOfItsOwnLanguageInThatLanguagesCodePage) {
    SmallCatalog catalog;
    const CatalogText english(catalog, kLanguageEnglish);
    const CatalogText japanese(catalog, kLanguageJapanese);

    EXPECT_EQ(english.LoadText(1), "Caf\xE9");  // code page 1252
    // Shift-JIS: "対応" as two two-byte characters, the half-width katakana as one byte each.
    EXPECT_EQ(japanese.LoadText(1), "\x91\xCE\x89\x9E\xC4\xDE\xD7\xB2\xCC\xDE");
    EXPECT_EQ(japanese.ToUtf8(japanese.LoadText(1)), "対応ﾄﾞﾗｲﾌﾞ");

    EXPECT_EQ(japanese.LoadText(2), "");  // no fallback to another language
    EXPECT_EQ(english.LoadText(3), "");
    EXPECT_EQ(CatalogText(catalog, kLanguageGerman).LoadText(1), "");
}

TEST(CatalogText, WritesAQuestionMarkForEachCharacterTheCodePageCannotHold) {
    SmallCatalog catalog;
    const CatalogText english(catalog, kLanguageEnglish);
    const CatalogText japanese(catalog, kLanguageJapanese);

    EXPECT_EQ(english.ToNarrow("A対応B"), "A??B");
    EXPECT_EQ(english.ToNarrow("x😀y"), "x?y");  // a four-byte sequence is still one character
    EXPECT_EQ(japanese.ToNarrow("é対"), "?\x91\xCE");
    EXPECT_EQ(english.ToUtf8("Caf\xE9"), "Café");
}

TEST(CatalogText, LeadBytesAreShiftJisOnesInJapaneseAndNoneInEnglish) {
    SmallCatalog catalog;
    const CatalogText english(catalog, kLanguageEnglish);
    const CatalogText japanese(catalog, kLanguageJapanese);

    for (unsigned char lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        EXPECT_TRUE(japanese.IsLeadByte(lead)) << int{lead};
        EXPECT_FALSE(english.IsLeadByte(lead)) << int{lead};
    }
    // ASCII and half-width katakana stand alone.
    for (unsigned char single : {0x41, 0x80, 0xA0, 0xB1, 0xDF, 0xFD}) {
        EXPECT_FALSE(japanese.IsLeadByte(single)) << int{single};
    }
}

TEST(CatalogText, FindsTheDialogTemplateOfItsLanguage) {
    SmallCatalog catalog;
    const DialogTemplate* japanese = CatalogText(catalog, kLanguageJapanese).FindDialog(7);
    ASSERT_NE(japanese, nullptr);
    EXPECT_EQ(japanese->language, kLanguageJapanese);
    EXPECT_EQ(CatalogText(catalog, kLanguageEnglish).FindDialog(7)->language, kLanguageEnglish);
    EXPECT_EQ(CatalogText(catalog, kLanguageGerman).FindDialog(7), nullptr);
    EXPECT_EQ(CatalogText(catalog, kLanguageEnglish).FindDialog(8), nullptr);
}

}  // namespace
