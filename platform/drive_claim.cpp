#include <sstream>
#include <vector>

#include "platform/drive_claim.h"

namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Undoes the table's octal escapes (\040 a space, \011 a tab, \012 a newline, \134 a backslash).
std::string Unescaped(const std::string& field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                            IsOctalDigit(field[i + 1]) && IsOctalDigit(field[i + 2]) &&
                            IsOctalDigit(field[i + 3]);
        if (escape) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

}  // namespace

std::string MountPointIn(const std::string& mountInfo, const std::string& deviceNumber) {
    std::istringstream lines(mountInfo);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> field(5);
        for (std::string& each : field) {
            fields >> each;
        }
        if (field[2] == deviceNumber && !field[4].empty()) {
            return Unescaped(field[4]);
        }
    }
    return std::string();
}
