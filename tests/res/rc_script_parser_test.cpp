// The resource-script reader behind the catalog: what it builds, and what it refuses rather
// than silently skipping.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "res/generator/catalog_writer.h"
#include "res/generator/rc_script.h"

namespace {

const char* kHeader = "#pragma code_page(65001)\nLANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n";

bool Parse(const std::string& text, RcScript& script, std::string& error) {
    RcSymbols symbols = BuiltInRcSymbols();
    symbols["IDD_TEST"] = 7;
    return ParseRcScript(text, "test.rc", symbols, script, error);
}

std::string ParseError(const std::string& text) {
    RcScript script;
    std::string error;
    EXPECT_FALSE(Parse(text, script, error)) << text;
    return error;
}

TEST(RcScriptParser, ReadsStringsWithResourceCompilerQuotingAndEscapes) {
    RcScript script;
    std::string error;
    ASSERT_TRUE(Parse(std::string(kHeader) + "STRINGTABLE\nBEGIN\n"
                                             "  101 \"push the \"\"Apply\"\" button\"\n"
                                             "  102, \"a\\r\\nb\"  // comment\n"
                                             "  /* block\n comment */ 103 \"ﾊﾞｰｼﾞｮﾝ\"\n"
                                             "END\n",
                      script, error))
        << error;
    ASSERT_EQ(3u, script.strings.size());
    EXPECT_EQ("push the \"Apply\" button", script.strings[0].text);
    EXPECT_EQ("a\r\nb", script.strings[1].text);
    EXPECT_EQ(103, script.strings[2].id);
    EXPECT_EQ("ﾊﾞｰｼﾞｮﾝ", script.strings[2].text);
    EXPECT_EQ(1041, script.strings[2].language);
}

TEST(RcScriptParser, BuildsDialogStylesAsTheResourceCompilerDoes) {
    RcScript script;
    std::string error;
    ASSERT_TRUE(Parse(std::string(kHeader) +
                          "IDD_TEST DIALOGEX 0, 0, 100, 50\n"
                          "STYLE WS_POPUP | WS_CAPTION\n"
                          "EXSTYLE WS_EX_APPWINDOW\n"
                          "CAPTION \"見出し\"\n"
                          "FONT 9, \"ＭＳ Ｐゴシック\", 0, 0, 0x80\n"
                          "BEGIN\n"
                          "  CONTROL \"OK\", IDOK, \"Button\", BS_DEFPUSHBUTTON | WS_TABSTOP, "
                          "1, 2, 3, 4\n"
                          "  CONTROL 128, IDC_STATIC, \"Static\", SS_ICON, 5, 6, 7, 8, 0x20\n"
                          "END\n",
                      script, error))
        << error;
    ASSERT_EQ(1u, script.dialogs.size());
    const RcDialog& d = script.dialogs[0];
    EXPECT_EQ(7, d.id);
    EXPECT_EQ(0x80C00040u, d.style);  // FONT adds DS_SETFONT
    EXPECT_EQ(0x00040000u, d.exStyle);
    EXPECT_EQ("見出し", d.caption);
    EXPECT_EQ("ＭＳ Ｐゴシック", d.fontName);
    EXPECT_EQ(9, d.fontPointSize);
    EXPECT_EQ(128, d.fontCharset);
    ASSERT_EQ(2u, d.controls.size());
    EXPECT_EQ(1, d.controls[0].id);
    EXPECT_EQ(0x50010001u, d.controls[0].style);  // CONTROL adds WS_CHILD | WS_VISIBLE
    EXPECT_EQ("kDefaultPushButton", ControlKindName(d.controls[0]));
    EXPECT_EQ("128", d.controls[1].text);
    EXPECT_EQ(-1, d.controls[1].id);
    EXPECT_EQ(0x20u, d.controls[1].exStyle);
    EXPECT_EQ("kIcon", ControlKindName(d.controls[1]));
}

TEST(RcScriptParser, RefusesWhatTheCatalogCouldNotFollow) {
    const std::string table = "STRINGTABLE\nBEGIN\n 1 \"x\"\nEND\n";
    EXPECT_NE(
        std::string::npos,
        ParseError("#pragma code_page(65001)\nLANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n" + table)
            .find("neutral"));
    EXPECT_NE(std::string::npos, ParseError("#pragma code_page(65001)\n" + table).find("LANGUAGE"));
    EXPECT_NE(std::string::npos,
              ParseError("LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n" + table).find("65001"));
    EXPECT_NE(std::string::npos, ParseError("#pragma code_page(932)\n").find("UTF-8"));
    EXPECT_NE(std::string::npos, ParseError("#include \"x.h\"\n").find("directive"));
    EXPECT_NE(std::string::npos,
              ParseError(std::string(kHeader) + "STRINGTABLE\nBEGIN\n IDS_NOPE \"x\"\nEND\n")
                  .find("IDS_NOPE"));
    EXPECT_NE(std::string::npos,
              ParseError(std::string(kHeader) + "STRINGTABLE\nBEGIN\n 1 \"x\"\n 1 \"y\"\nEND\n")
                  .find("twice"));
    EXPECT_NE(std::string::npos,
              ParseError(std::string(kHeader) + "STRINGTABLE\nBEGIN\n 1 \"open\nEND\n")
                  .find("unterminated"));
    EXPECT_NE(
        std::string::npos,
        ParseError(std::string(kHeader) + "STRINGTABLE\nBEGIN\n 1 \"\\q\"\nEND\n").find("escape"));
    std::string keywordControl = std::string(kHeader) +
                                 "IDD_TEST DIALOGEX 0, 0, 1, 1\nSTYLE WS_POPUP\nBEGIN\n"
                                 "  PUSHBUTTON \"x\", 1, 1, 1, 1, 1\nEND\n";
    EXPECT_NE(std::string::npos, ParseError(keywordControl).find("CONTROL"));
    EXPECT_NE(std::string::npos,
              ParseError(std::string(kHeader) + "ICON \"a.ico\"\n").find("unsupported statement"));
    EXPECT_NE(std::string::npos,
              ParseError(std::string(kHeader) + "\n\nBOGUS\n").find("test.rc:5"));
}

TEST(RcDefines, ReadsNumericDefinitionsAndRejectsConflicts) {
    RcSymbols symbols = BuiltInRcSymbols();
    std::string error;
    ASSERT_TRUE(
        ReadRcDefines("#ifndef RES_X_H\n#define RES_X_H\n#define IDD_MAIN 102\n"
                      "#define IDM_ABOUTBOX 0x0010\n#define IDC_NEG (-1)\n",
                      "ids.h", symbols, error))
        << error;
    EXPECT_EQ(102, symbols["IDD_MAIN"]);
    EXPECT_EQ(16, symbols["IDM_ABOUTBOX"]);
    EXPECT_EQ(-1, symbols["IDC_NEG"]);
    EXPECT_EQ(0u, symbols.count("RES_X_H"));
    EXPECT_FALSE(ReadRcDefines("#define IDOK 5\n", "ids.h", symbols, error));
    EXPECT_NE(std::string::npos, error.find("ids.h:1"));
    EXPECT_FALSE(ReadRcDefines("#define IDS_TEXT hello\n", "ids.h", symbols, error));
}

TEST(CatalogWriter, RefusesUnknownControlKindsAndDuplicatesAcrossScripts) {
    RcScript script;
    RcDialog dialog;
    dialog.id = 5;
    dialog.language = 1033;
    RcControl tristate;
    tristate.windowClass = "Button";
    tristate.style = 0x50000005u;  // BS_AUTO3STATE: no kind for it
    dialog.controls.push_back(tristate);
    script.dialogs.push_back(dialog);
    std::ostringstream out;
    std::string error;
    EXPECT_FALSE(WriteCatalogSource(script, out, error));
    EXPECT_NE(std::string::npos, error.find("kind"));

    RcScript twice;
    twice.strings.push_back(RcString{1, 1033, "a"});
    twice.strings.push_back(RcString{1, 1033, "b"});
    EXPECT_FALSE(WriteCatalogSource(twice, out, error));
    EXPECT_NE(std::string::npos, error.find("twice"));
}

TEST(CatalogWriter, WritesTextsAsEscapesThatKeepEveryByte) {
    RcScript script;
    script.strings.push_back(RcString{1, 1041, "\"ﾊﾞ\"\r\n\\0?"});
    std::ostringstream out;
    std::string error;
    ASSERT_TRUE(WriteCatalogSource(script, out, error)) << error;
    // ﾊ is EF BE 8A; octal escapes cannot run into the following digit '0'.
    EXPECT_NE(std::string::npos,
              out.str().find("\"\\\"\\357\\276\\212\\357\\276\\236\\\"\\015\\012\\\\0\\077\""))
        << out.str();
}

}  // namespace
