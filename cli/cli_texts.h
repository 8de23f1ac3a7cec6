// The command line's texts: the program's string table, as the resource catalog generated from
// res/strings.rc holds it, in the language chosen for the output. This is the one place where
// the command line looks a text up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CliTexts {
public:
    explicit CliTexts(uint16_t language) : language_(language) {}

    uint16_t Language() const { return language_; }

    // The UTF-8 text of the id, its "\r\n" line breaks as "\n"; empty when the id has no text.
    std::string Text(int stringId) const;

    // The text of the id with %1, %2, ... replaced by the arguments in order.
    std::string Format(int stringId, const std::vector<std::string>& arguments) const;

private:
    uint16_t language_;
};

// The text with %1 to %9 replaced by the arguments; a placeholder without an argument stays.
std::string SubstituteArguments(const std::string& text, const std::vector<std::string>& arguments);
