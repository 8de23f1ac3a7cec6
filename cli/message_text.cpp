#include "cli/message_text.h"

std::string MessageText(const CliMessage& message, const CliTexts& texts) {
    std::string text;
    for (int id : message.textIds) {
        text += texts.Text(id);
    }
    std::vector<std::string> arguments;
    for (const MessageArgument& argument : message.arguments) {
        arguments.push_back(argument.textId != 0 ? texts.Format(argument.textId, {argument.text})
                                                 : argument.text);
    }
    return SubstituteArguments(text, arguments);
}
