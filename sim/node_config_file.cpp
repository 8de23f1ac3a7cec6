#include "sim/node_config_file.h"

#include <cerrno>
#include <sstream>

namespace {

struct NamedError {
    const char* name;
    int error;
};

constexpr NamedError kErrors[] = {
    {"EACCES", EACCES}, {"EPERM", EPERM}, {"ENOENT", ENOENT}, {"ENODEV", ENODEV},
    {"ENXIO", ENXIO},   {"EIO", EIO},     {"EBUSY", EBUSY},
};

bool ReadError(const std::string& text, int& error) {
    if (text == "0") {
        error = 0;
        return true;
    }
    for (const NamedError& named : kErrors) {
        if (text == named.name) {
            error = named.error;
            return true;
        }
    }
    return false;
}

bool ReadLine(const std::string& key, const std::string& value, NodeConfig& config) {
    if (key == "open") {
        return ReadError(value, config.openError);
    }
    if (key == "excl") {
        return ReadError(value, config.exclusiveOpenError);
    }
    if (key == "io") {
        return ReadError(value, config.ioError);
    }
    if (key == "filter" && (value == "0" || value == "1")) {
        config.filter = value == "1" ? 1 : 0;
        return true;
    }
    return false;
}

}  // namespace

bool ParseNodeConfig(const std::string& text, NodeConfig& config, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !ReadLine(line.substr(0, equals), line.substr(equals + 1), config)) {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

bool BlockNodeFilterPasses(uint8_t opcode) {
    switch (opcode) {
        case 0x00:  // TEST UNIT READY
        case 0x03:  // REQUEST SENSE
        case 0x12:  // INQUIRY
        case 0x1B:  // START STOP UNIT
        case 0x3C:  // READ BUFFER
        case 0x43:  // READ TOC/PMA/ATIP
        case 0x4A:  // GET EVENT STATUS NOTIFICATION
        case 0x51:  // READ DISC INFORMATION
        case 0x52:  // READ TRACK INFORMATION
            return true;
        default:
            return false;
    }
}

std::string ErrorName(int error) {
    for (const NamedError& named : kErrors) {
        if (named.error == error) {
            return named.name;
        }
    }
    return std::to_string(error);
}
