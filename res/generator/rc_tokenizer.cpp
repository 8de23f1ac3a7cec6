#include "res/generator/rc_tokenizer.h"

#include <cctype>
#include <cstdlib>

namespace {

class Tokenizer {
public:
    Tokenizer(const std::string& text, std::vector<RcToken>& tokens, std::string& error)
        : text_(text), tokens_(tokens), error_(error) {}

    bool Run() {
        bool atLineStart = true;
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                atLineStart = true;
                continue;
            }
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
                continue;
            }
            if (c == '/' && Peek(1) == '/') {
                SkipToLineEnd();
                continue;
            }
            if (c == '/' && Peek(1) == '*') {
                if (!SkipBlockComment()) {
                    return Fail("unterminated comment");
                }
                continue;
            }
            if (c == '#' && atLineStart) {
                ReadDirective();
                continue;
            }
            atLineStart = false;
            if (!ReadToken(c)) {
                return false;
            }
        }
        tokens_.push_back(RcToken{RcTokenKind::kEnd, "", 0, line_});
        return true;
    }

private:
    char Peek(size_t ahead) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }

    bool Fail(const std::string& message) {
        error_ = "line " + std::to_string(line_) + ": " + message;
        return false;
    }

    void SkipToLineEnd() {
        while (pos_ < text_.size() && text_[pos_] != '\n') {
            ++pos_;
        }
    }

    bool SkipBlockComment() {
        size_t end = text_.find("*/", pos_ + 2);
        if (end == std::string::npos) {
            return false;
        }
        for (size_t i = pos_; i < end; ++i) {
            line_ += text_[i] == '\n' ? 1 : 0;
        }
        pos_ = end + 2;
        return true;
    }

    void ReadDirective() {
        size_t start = pos_;
        SkipToLineEnd();
        std::string directive = text_.substr(start, pos_ - start);
        while (!directive.empty() && std::isspace(static_cast<unsigned char>(directive.back()))) {
            directive.pop_back();
        }
        tokens_.push_back(RcToken{RcTokenKind::kDirective, directive, 0, line_});
    }

    bool ReadToken(char c) {
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            return ReadName();
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            return ReadNumber();
        }
        if (c == '"') {
            return ReadString();
        }
        if (std::string(",|()-+{}").find(c) != std::string::npos) {
            tokens_.push_back(RcToken{RcTokenKind::kPunct, std::string(1, c), 0, line_});
            ++pos_;
            return true;
        }
        return Fail(std::string("unexpected character '") + c + "'");
    }

    bool ReadName() {
        size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
            ++pos_;
        }
        tokens_.push_back(RcToken{RcTokenKind::kName, text_.substr(start, pos_ - start), 0, line_});
        return true;
    }

    bool ReadNumber() {
        const char* begin = text_.c_str() + pos_;
        char* end = nullptr;
        unsigned long value = std::strtoul(begin, &end, 0);  // decimal, 0x hex (0 octal prefix
                                                             // is not used in our scripts)
        pos_ += static_cast<size_t>(end - begin);
        if (Peek(0) == 'L' || Peek(0) == 'l') {
            ++pos_;  // the resource compiler's long suffix
        }
        if (std::isalnum(static_cast<unsigned char>(Peek(0)))) {
            return Fail("malformed number");
        }
        tokens_.push_back(RcToken{RcTokenKind::kNumber, "", static_cast<long>(value), line_});
        return true;
    }

    // Resource-compiler strings: "" stands for one quotation mark; backslash escapes for
    // control characters. Bytes pass through unchanged, so UTF-8 stays UTF-8.
    bool ReadString() {
        std::string value;
        int startLine = line_;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == '\n') {
                return Fail("unterminated string");
            }
            char c = text_[pos_++];
            if (c == '"') {
                if (Peek(0) != '"') {
                    break;
                }
                value += '"';
                ++pos_;
            } else if (c == '\\') {
                if (!AppendEscape(value)) {
                    return false;
                }
            } else {
                value += c;
            }
        }
        tokens_.push_back(RcToken{RcTokenKind::kString, value, 0, startLine});
        return true;
    }

    bool AppendEscape(std::string& value) {
        char e = Peek(0);
        ++pos_;
        switch (e) {
            case 'r':
                value += '\r';
                return true;
            case 'n':
                value += '\n';
                return true;
            case 't':
                value += '\t';
                return true;
            case '\\':
                value += '\\';
                return true;
            case '"':
                value += '"';
                return true;
            default:
                return Fail(std::string("unsupported escape '\\") + e + "'");
        }
    }

    const std::string& text_;
    std::vector<RcToken>& tokens_;
    std::string& error_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

bool TokenizeRcScript(const std::string& text, std::vector<RcToken>& tokens, std::string& error) {
    return Tokenizer(text, tokens, error).Run();
}
