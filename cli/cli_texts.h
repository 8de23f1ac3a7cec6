// The command line's texts: the program's string table, as the resource catalog generated from
// res/strings.rc holds it, in the language chosen for the output and in the codeset of the user's
// locale. This is the one place where the command line looks a text up.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CliTexts {
public:
    // codeset: as platform/locale_codeset.h names it. A text the codeset cannot show (Japanese
    // in an ASCII or Latin locale) is given in English.
    explicit CliTexts(uint16_t language, std::string codeset = "UTF-8")
        : language_(language), codeset_(std::move(codeset)) {}

    uint16_t Language() const { return language_; }

    // The text of the id in the codeset, its "\r\n" line breaks as "\n"; empty when the id has no
    // text.
    std::string Text(int stringId) const;

    // The text of the id with %1, %2, ... replaced by the arguments in order.
    std::string Format(int stringId, const std::vector<std::string>& arguments) const;

private:
    uint16_t language_;
    std::string codeset_;
};

// The text with %1 to %9 replaced by the arguments; a placeholder without an argument stays.
std::string SubstituteArguments(const std::string& text, const std::vector<std::string>& arguments);
