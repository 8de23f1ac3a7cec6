// Splits a resource script into tokens: names, numbers, strings, punctuation and preprocessor
// lines. Comments and white space are dropped.
#pragma once

#include <string>
#include <vector>

enum class RcTokenKind { kName, kNumber, kString, kPunct, kDirective, kEnd };

struct RcToken {
    RcTokenKind kind = RcTokenKind::kEnd;
    std::string text;  // name, punctuation, directive line, or the decoded UTF-8 string
    long number = 0;
    int line = 0;
};

// Returns false and sets error ("line N: ...") on an unterminated string or comment, an unknown
// escape, or a character that belongs to no token.
bool TokenizeRcScript(const std::string& text, std::vector<RcToken>& tokens, std::string& error);
