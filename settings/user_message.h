// A message for the user by string id, with the one argument its "%s" takes (a device node's
// name), so that a front end can show it in the user's language.
#pragma once

#include <string>

struct UserMessage {
    int stringId = 0;
    std::string argument;  // fills the text's first "%s"; texts without one ignore it
};

// The text with its first "%s" replaced by the argument. The text is never used as a format: any
// other '%' stays as it is.
std::string FillPlaceholder(const std::string& text, const std::string& argument);
