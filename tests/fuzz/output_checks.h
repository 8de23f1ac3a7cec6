// What every output of velmora-drive must be, whatever came in: an exit code its documentation
// names, and text for a person that a terminal shows as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/exit_codes.h"

// A member of a JSON object; null when the value is no object or has no such member.
inline const nlohmann::json& Member(const nlohmann::json& object, const char* key) {
    static const nlohmann::json kNone;
    if (!object.is_object()) {
        return kNone;
    }
    const auto found = object.find(key);
    return found != object.end() ? *found : kNone;
}

// The exit_status of velmora-drive's JSON document; -1 when it has none.
inline int JsonExitStatus(const nlohmann::json& document) {
    const nlohmann::json& status = Member(Member(document, "velmora_drive"), "exit_status");
    return status.is_number_integer() ? status.get<int>() : -1;
}

inline bool IsDocumentedExitCode(int code) {
    return code >= kExitSuccess && code <= kExitNotSupported;
}

// Well-formed UTF-8 (no overlong form, no surrogate) with no control character, C0, DEL or C1,
// other than the line end: nothing a terminal would take as a command.
inline bool IsPrintableUtf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const uint8_t lead = bytes[i];
        if (lead < 0x80) {
            if ((lead < 0x20 && lead != '\n') || lead == 0x7F) {
                return false;
            }
            ++i;
            continue;
        }
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || lead > 0xF4 || i + length > size) {
            return false;
        }
        uint32_t code = lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code <= 0x9F) {
            return false;
        }
        i += length;
    }
    return true;
}
