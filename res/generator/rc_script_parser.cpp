// A recursive-descent reader for the subset of resource-script syntax our scripts use:
// LANGUAGE, STRINGTABLE, DIALOGEX with STYLE/EXSTYLE/CAPTION/FONT and CONTROL lines, and
// "#pragma code_page(65001)". Anything else is an error rather than something skipped, so a
// script change the catalog cannot follow stops the build instead of going missing.
#include <set>
#include <utility>

#include "res/generator/rc_script.h"
#include "res/generator/rc_tokenizer.h"

namespace {

constexpr uint32_t kChildVisible = 0x40000000u | 0x10000000u;  // WS_CHILD | WS_VISIBLE
constexpr uint32_t kSetFont = 0x40u;                           // DS_SETFONT
constexpr int kUtf8CodePage = 65001;

class Parser {
public:
    Parser(const std::vector<RcToken>& tokens, const std::string& fileName,
           const RcSymbols& symbols, RcScript& script, std::string& error)
        : tokens_(tokens), fileName_(fileName), symbols_(symbols), script_(script), error_(error) {}

    bool Run() {
        while (Current().kind != RcTokenKind::kEnd) {
            if (!ParseTopLevel()) {
                return false;
            }
        }
        return true;
    }

private:
    const RcToken& Current() const { return tokens_[pos_]; }
    const RcToken& Next() const { return tokens_[pos_ + 1 < tokens_.size() ? pos_ + 1 : pos_]; }

    bool Fail(const std::string& message) {
        error_ = fileName_ + ":" + std::to_string(Current().line) + ": " + message;
        return false;
    }

    bool IsName(const char* name) const {
        return Current().kind == RcTokenKind::kName && Current().text == name;
    }
    bool IsPunct(const char* punct) const {
        return Current().kind == RcTokenKind::kPunct && Current().text == punct;
    }

    bool Expect(const char* punct) {
        if (!IsPunct(punct)) {
            return Fail(std::string("expected '") + punct + "'");
        }
        ++pos_;
        return true;
    }

    void SkipOptionalComma() {
        if (IsPunct(",")) {
            ++pos_;
        }
    }

    bool ExpectBegin() {
        if (IsName("BEGIN") || IsPunct("{")) {
            ++pos_;
            return true;
        }
        return Fail("expected BEGIN");
    }
    bool AtEnd() const { return IsName("END") || IsPunct("}"); }

    bool ParseString(std::string& out) {
        if (Current().kind != RcTokenKind::kString) {
            return Fail("expected a string");
        }
        out = Current().text;
        ++pos_;
        return true;
    }

    // expression := term (('|' | '+') term)*
    bool ParseExpression(long& value) {
        if (!ParseTerm(value)) {
            return false;
        }
        while (IsPunct("|") || IsPunct("+")) {
            bool isOr = IsPunct("|");
            ++pos_;
            long rhs = 0;
            if (!ParseTerm(rhs)) {
                return false;
            }
            value = isOr ? (value | rhs) : (value + rhs);
        }
        return true;
    }

    // term := number | name | '-' term | '(' expression ')'
    bool ParseTerm(long& value) {
        const RcToken& token = Current();
        if (token.kind == RcTokenKind::kNumber) {
            value = token.number;
            ++pos_;
            return true;
        }
        if (token.kind == RcTokenKind::kName) {
            auto symbol = symbols_.find(token.text);
            if (symbol == symbols_.end()) {
                return Fail("unknown name '" + token.text + "'");
            }
            value = symbol->second;
            ++pos_;
            return true;
        }
        if (IsPunct("-")) {
            ++pos_;
            if (!ParseTerm(value)) {
                return false;
            }
            value = -value;
            return true;
        }
        if (IsPunct("(")) {
            ++pos_;
            return ParseExpression(value) && Expect(")");
        }
        return Fail("expected a number or a name");
    }

    bool ParseInts(std::initializer_list<int*> outs) {
        bool first = true;
        for (int* out : outs) {
            if (!first && !Expect(",")) {
                return false;
            }
            first = false;
            long value = 0;
            if (!ParseExpression(value)) {
                return false;
            }
            *out = static_cast<int>(value);
        }
        return true;
    }

    bool ParseTopLevel() {
        if (Current().kind == RcTokenKind::kDirective) {
            return ParseDirective();
        }
        if (IsName("LANGUAGE")) {
            return ParseLanguage();
        }
        if (IsName("STRINGTABLE")) {
            return ParseStringTable();
        }
        if (Next().kind == RcTokenKind::kName && Next().text == "DIALOGEX") {
            return ParseDialog();
        }
        return Fail("unsupported statement");
    }

    bool ParseDirective() {
        const std::string& line = Current().text;
        const std::string prefix = "#pragma code_page(";
        if (line.compare(0, prefix.size(), prefix) != 0) {
            return Fail("unsupported directive: " + line);
        }
        if (line != prefix + std::to_string(kUtf8CodePage) + ")") {
            return Fail("only UTF-8 scripts are supported: " + line);
        }
        sawUtf8Pragma_ = true;
        ++pos_;
        return true;
    }

    bool ParseLanguage() {
        ++pos_;
        long primary = 0, sub = 0;
        if (!ParseExpression(primary) || !Expect(",") || !ParseExpression(sub)) {
            return false;
        }
        if (primary == 0) {
            return Fail("resources must name their language; neutral is not allowed");
        }
        language_ = static_cast<uint16_t>((sub << 10) | primary);
        return true;
    }

    bool RequireLanguageAndCodePage() {
        if (!sawUtf8Pragma_) {
            return Fail("#pragma code_page(65001) must come before any text");
        }
        if (language_ == 0) {
            return Fail("LANGUAGE must come before any resource");
        }
        return true;
    }

    bool ParseStringTable() {
        ++pos_;
        if (!RequireLanguageAndCodePage() || !ExpectBegin()) {
            return false;
        }
        while (!AtEnd()) {
            RcString entry;
            long id = 0;
            if (!ParseExpression(id)) {
                return false;
            }
            SkipOptionalComma();
            if (!ParseString(entry.text)) {
                return false;
            }
            entry.id = static_cast<int>(id);
            entry.language = language_;
            if (!stringKeys_.insert({entry.id, entry.language}).second) {
                return Fail("string " + std::to_string(entry.id) + " defined twice");
            }
            script_.strings.push_back(std::move(entry));
        }
        ++pos_;
        return true;
    }

    bool ParseDialog() {
        RcDialog dialog;
        long id = 0;
        if (!ParseExpression(id)) {
            return false;
        }
        ++pos_;  // DIALOGEX
        if (!RequireLanguageAndCodePage() ||
            !ParseInts({&dialog.x, &dialog.y, &dialog.width, &dialog.height})) {
            return false;
        }
        dialog.id = static_cast<int>(id);
        dialog.language = language_;
        if (!dialogKeys_.insert({dialog.id, dialog.language}).second) {
            return Fail("dialog " + std::to_string(dialog.id) + " defined twice");
        }
        bool hasStyle = false;
        while (!IsName("BEGIN") && !IsPunct("{")) {
            if (!ParseDialogOption(dialog, hasStyle)) {
                return false;
            }
        }
        if (!hasStyle) {
            return Fail("dialog without STYLE");
        }
        if (!dialog.fontName.empty()) {
            dialog.style |= kSetFont;  // a FONT statement implies DS_SETFONT
        }
        ++pos_;
        while (!AtEnd()) {
            RcControl control;
            if (!ParseControl(control)) {
                return false;
            }
            dialog.controls.push_back(std::move(control));
        }
        ++pos_;
        script_.dialogs.push_back(std::move(dialog));
        return true;
    }

    bool ParseDialogOption(RcDialog& dialog, bool& hasStyle) {
        long value = 0;
        if (IsName("STYLE")) {
            ++pos_;
            hasStyle = true;
            bool ok = ParseExpression(value);
            dialog.style = static_cast<uint32_t>(value);
            return ok;
        }
        if (IsName("EXSTYLE")) {
            ++pos_;
            bool ok = ParseExpression(value);
            dialog.exStyle = static_cast<uint32_t>(value);
            return ok;
        }
        if (IsName("CAPTION")) {
            ++pos_;
            return ParseString(dialog.caption);
        }
        if (IsName("FONT")) {
            ++pos_;
            int weight = 0, italic = 0;
            return ParseInts({&dialog.fontPointSize}) && Expect(",") &&
                   ParseString(dialog.fontName) && Expect(",") &&
                   ParseInts({&weight, &italic, &dialog.fontCharset});
        }
        return Fail("unsupported dialog statement");
    }

    // CONTROL text, id, class, style, x, y, width, height [, exstyle]
    bool ParseControl(RcControl& control) {
        if (!IsName("CONTROL")) {
            return Fail("only CONTROL statements are supported inside a dialog");
        }
        ++pos_;
        if (Current().kind == RcTokenKind::kString) {
            ParseString(control.text);
        } else {
            long resourceId = 0;
            if (!ParseExpression(resourceId)) {
                return false;
            }
            control.text = std::to_string(resourceId);
        }
        long style = 0;
        if (!Expect(",") || !ParseInts({&control.id}) || !Expect(",") ||
            !ParseString(control.windowClass) || !Expect(",") || !ParseExpression(style) ||
            !Expect(",") || !ParseInts({&control.x, &control.y, &control.width, &control.height})) {
            return false;
        }
        control.style = static_cast<uint32_t>(style) | kChildVisible;
        if (IsPunct(",")) {
            ++pos_;
            long exStyle = 0;
            if (!ParseExpression(exStyle)) {
                return false;
            }
            control.exStyle = static_cast<uint32_t>(exStyle);
        }
        return true;
    }

    const std::vector<RcToken>& tokens_;
    const std::string& fileName_;
    const RcSymbols& symbols_;
    RcScript& script_;
    std::string& error_;
    size_t pos_ = 0;
    uint16_t language_ = 0;
    bool sawUtf8Pragma_ = false;
    std::set<std::pair<int, uint16_t>> stringKeys_;
    std::set<std::pair<int, uint16_t>> dialogKeys_;
};

}  // namespace

bool ParseRcScript(const std::string& text, const std::string& fileName, const RcSymbols& symbols,
                   RcScript& script, std::string& error) {
    std::vector<RcToken> tokens;
    if (!TokenizeRcScript(text, tokens, error)) {
        error = fileName + ": " + error;
        return false;
    }
    return Parser(tokens, fileName, symbols, script, error).Run();
}
