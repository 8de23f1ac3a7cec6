#include "sim/drive_config_file.h"

#include <cstdlib>
#include <sstream>

namespace {

// Reads a whole-string integer in decimal or 0x hex; false when it is not one.
bool ReadInteger(const std::string& text, long& value, int base = 0) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, base);
    return end != nullptr && *end == '\0';
}

bool ReadByte(const std::string& text, uint8_t& value, int base = 0) {
    long number = 0;
    if (!ReadInteger(text, number, base) || number < 0 || number > 255) {
        return false;
    }
    value = static_cast<uint8_t>(number);
    return true;
}

bool ReadBool(const std::string& text, bool& value) {
    if (text != "0" && text != "1") {
        return false;
    }
    value = text == "1";
    return true;
}

bool Unescape(const std::string& text, std::string& value) {
    value.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            value += '\\';
            ++i;
        } else if (i + 3 < text.size() && text[i + 1] == 'x') {
            uint8_t byte = 0;
            if (!ReadByte(text.substr(i + 2, 2), byte, 16)) {
                return false;
            }
            value += static_cast<char>(byte);
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

bool ReadDiscState(const std::string& text, DiscState& state) {
    if (text == "none") {
        state = DiscState::kNone;
    } else if (text == "tray_open") {
        state = DiscState::kTrayOpen;
    } else if (text == "present") {
        state = DiscState::kPresent;
    } else if (text == "becoming_ready") {
        state = DiscState::kBecomingReady;
    } else {
        return false;
    }
    return true;
}

// "3C" or "3C:F4" or "3C:F4:1", hex.
bool ReadMatch(const std::string& text, CommandMatch& match) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, ':')) {
        parts.push_back(part);
    }
    uint8_t bytes[3] = {};
    if (parts.empty() || parts.size() > 3) {
        return false;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!ReadByte(parts[i], bytes[i], 16)) {
            return false;
        }
    }
    match =
        CommandMatch(bytes[0], parts.size() > 1 ? bytes[1] : -1, parts.size() > 2 ? bytes[2] : -1);
    return true;
}

bool ReadSense(const std::string& text, SenseTriple& sense) {
    if (text.size() != 8 || text[2] != '/' || text[5] != '/') {
        return false;
    }
    return ReadByte(text.substr(0, 2), sense.key, 16) &&
           ReadByte(text.substr(3, 2), sense.asc, 16) &&
           ReadByte(text.substr(6, 2), sense.ascq, 16);
}

// always|times:N|call:N
bool ReadWhen(const std::string& text, DriveFault& fault) {
    if (text == "always") {
        fault.when = DriveFault::When::kAlways;
        return true;
    }
    if (text.rfind("times:", 0) == 0) {
        fault.when = DriveFault::When::kTimes;
    } else if (text.rfind("call:", 0) == 0) {
        fault.when = DriveFault::When::kOnCall;
    } else {
        return false;
    }
    long count = 0;
    if (!ReadInteger(text.substr(text.find(':') + 1), count, 10) || count < 0 || count > 1000000) {
        return false;
    }
    fault.count = static_cast<int>(count);
    return true;
}

// fail=<match> <when> <KK/AA/QQ> [<status hex>]
bool ReadFailure(const std::string& text, DriveFault& fault) {
    std::stringstream stream(text);
    std::string match, when, sense, status, extra;
    stream >> match >> when >> sense >> status >> extra;
    if (!ReadMatch(match, fault.match) || !ReadWhen(when, fault) ||
        !ReadSense(sense, fault.sense) || !extra.empty()) {
        return false;
    }
    return status.empty() || ReadByte(status, fault.status, 16);
}

// short_reply=<match> <when> <bytes>
bool ReadShortReply(const std::string& text, DriveFault& fault) {
    std::stringstream stream(text);
    std::string match, when, bytes, extra;
    stream >> match >> when >> bytes >> extra;
    long count = 0;
    if (!ReadMatch(match, fault.match) || !ReadWhen(when, fault) ||
        !ReadInteger(bytes, count, 10) || count < 0 || count > 65535 || !extra.empty()) {
        return false;
    }
    fault.status = kScsiStatusGood;
    fault.replyBytes = static_cast<int>(count);
    return true;
}

bool ReadSavedValue(const std::string& text, int& value) {
    uint8_t byte = 0;
    if (!ReadByte(text, byte)) {
        return false;
    }
    value = byte;
    return true;
}

bool ReadLine(const std::string& key, const std::string& raw, DriveConfigFile& file) {
    SimulatedDriveConfig& config = file.config;
    std::string value;
    if (!Unescape(raw, value)) {
        return false;
    }
    long number = 0;
    if (key == "model") {
        config.modelText = value;
    } else if (key == "vendor") {
        config.vendor = value;
    } else if (key == "product") {
        config.product = value;
    } else if (key == "revision") {
        config.revision = value;
    } else if (key == "inquiry_tail") {
        config.inquiryTail = value;
    } else if (key == "answers_inquiry") {
        return ReadBool(value, config.answersInquiry);
    } else if (key == "answers_model_buffer") {
        return ReadBool(value, config.answersModelBuffer);
    } else if (key == "speed_supported") {
        return ReadBool(value, config.supportsOptimalSpeed);
    } else if (key == "audio_supported") {
        return ReadBool(value, config.supportsAudioMode);
    } else if (key == "speed") {
        return ReadByte(value, config.optimalSpeed);
    } else if (key == "speed_saved") {
        return ReadSavedValue(value, config.optimalSpeedSaved);
    } else if (key == "audio") {
        return ReadByte(value, config.audioMode);
    } else if (key == "audio_saved") {
        return ReadSavedValue(value, config.audioModeSaved);
    } else if (key == "disc") {
        return ReadDiscState(value, config.disc);
    } else if (key == "ready") {
        if (!ReadInteger(value, number) || number < -1 || number > 255) {
            return false;
        }
        config.forcedReadyByte = static_cast<int>(number);
    } else if (key == "event_requires_polled") {
        return ReadBool(value, config.eventRequiresPolled);
    } else if (key == "writes_ignored") {
        return ReadBool(value, file.writesIgnored);
    } else if (key == "saved_stuck") {
        return ReadBool(value, file.savedBytesStuck);
    } else if (key == "latency_us") {
        if (!ReadInteger(value, number) || number < 0 || number > 60000000) {
            return false;
        }
        file.latencyMicroseconds = static_cast<uint32_t>(number);
    } else if (key == "fail" || key == "short_reply") {
        DriveFault fault;
        if (!(key == "fail" ? ReadFailure(value, fault) : ReadShortReply(value, fault))) {
            return false;
        }
        file.faults.push_back(fault);
    } else if (key.rfind("page.", 0) == 0) {
        uint8_t byte = 0;
        if (!ReadInteger(key.substr(5), number, 10) || number < 0 || number > 255 ||
            !ReadByte(value, byte)) {
            return false;
        }
        file.pageBytes.emplace_back(static_cast<int>(number), byte);
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool ParseDriveConfig(const std::string& text, DriveConfigFile& file, std::string& error) {
    std::stringstream stream(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(stream, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !ReadLine(line.substr(0, equals), line.substr(equals + 1), file)) {
            error = "line " + std::to_string(lineNumber) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

void ApplyLiveSettings(const DriveConfigFile& file, SimulatedDrive& drive) {
    drive.SetDiscState(file.config.disc);
    drive.ForceReadyByte(file.config.forcedReadyByte);
    drive.SetWritesIgnored(file.writesIgnored);
    drive.SetSavedBytesStuck(file.savedBytesStuck);
    drive.SetLatencyMicroseconds(file.latencyMicroseconds);
    drive.ClearFaults();
    for (const DriveFault& fault : file.faults) {
        drive.AddFault(fault);
    }
}

void ApplyPageBytes(const DriveConfigFile& file, SimulatedDrive& drive) {
    for (const auto& entry : file.pageBytes) {
        drive.SetSettingsByte(entry.first, entry.second);
    }
}

std::string FormatSavedState(const SimulatedDrive& drive) {
    const std::array<uint8_t, 256> page = drive.SettingsPage();
    return "speed=" + std::to_string(page[19]) + "\nspeed_saved=" + std::to_string(page[20]) +
           "\naudio=" + std::to_string(page[22]) + "\naudio_saved=" + std::to_string(page[23]) +
           "\n";
}
