#include "sim/replayed_report.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace {

using Json = nlohmann::json;

constexpr int kJsonFormatMajorRead = 1;
constexpr int kNotFound = 2;  // ENOENT and ERROR_FILE_NOT_FOUND alike
constexpr size_t kSenseAreaBytes = 32;
constexpr size_t kLongestCdb = 16;
constexpr size_t kReadyByteIndex = 24;

constexpr uint8_t kOpInquiry = 0x12;
constexpr uint8_t kOpReadBuffer = 0x3C;
constexpr uint8_t kModelBufferId = 0xF1;
constexpr uint8_t kSettingsBufferId = 0xF4;

// Reads the fields of one document, keeping the first problem met; every accessor checks the
// type first, so nothing throws.
class FieldReader {
public:
    bool Ok() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }

    const Json* Field(const Json& object, const char* key, const std::string& where) {
        if (!Ok()) {
            return nullptr;
        }
        if (!object.is_object()) {
            return Fail(where, "not an object");
        }
        const auto found = object.find(key);
        if (found == object.end()) {
            return Fail(where + "." + key, "missing");
        }
        return &*found;
    }

    bool Text(const Json& object, const char* key, const std::string& where, std::string* out) {
        const Json* field = Field(object, key, where);
        if (field == nullptr || !field->is_string()) {
            return Failed(field, where + "." + key, "not a string");
        }
        *out = field->get_ref<const std::string&>();
        return true;
    }

    bool Flag(const Json& object, const char* key, const std::string& where, bool* out) {
        const Json* field = Field(object, key, where);
        if (field == nullptr || !field->is_boolean()) {
            return Failed(field, where + "." + key, "not true or false");
        }
        *out = field->get_ref<const bool&>();
        return true;
    }

    // A whole number from 0 to `largest`; null gives `ifNull` when that is not negative.
    bool Number(const Json& object, const char* key, const std::string& where, uint64_t largest,
                uint64_t* out, int64_t ifNull = -1) {
        const Json* field = Field(object, key, where);
        if (field != nullptr && field->is_null() && ifNull >= 0) {
            *out = static_cast<uint64_t>(ifNull);
            return true;
        }
        if (field == nullptr || !field->is_number_unsigned() || field->get<uint64_t>() > largest) {
            return Failed(field, where + "." + key,
                          "not a number from 0 to " + std::to_string(largest));
        }
        *out = field->get<uint64_t>();
        return true;
    }

    bool Hex(const Json& object, const char* key, const std::string& where, size_t longest,
             std::vector<uint8_t>* out) {
        std::string text;
        if (!Text(object, key, where, &text)) {
            return false;
        }
        if (text.size() % 2 != 0 || text.size() / 2 > longest) {
            return Fail(where + "." + key,
                        "not hex of at most " + std::to_string(longest) + " bytes") != nullptr;
        }
        out->clear();
        for (size_t i = 0; i < text.size(); i += 2) {
            const int high = HexDigit(text[i]);
            const int low = HexDigit(text[i + 1]);
            if (high < 0 || low < 0) {
                return Fail(where + "." + key, "not hex") != nullptr;
            }
            out->push_back(static_cast<uint8_t>(high * 16 + low));
        }
        return true;
    }

    // An error object ({number, text}) or null: its number, 0 for null.
    bool SystemError(const Json& object, const char* key, const std::string& where, int* out) {
        const Json* field = Field(object, key, where);
        if (field == nullptr) {
            return false;
        }
        if (field->is_null()) {
            *out = 0;
            return true;
        }
        const Json* number = Field(*field, "number", where + "." + key);
        if (number == nullptr || !number->is_number_integer() ||
            number->get<int64_t>() < INT32_MIN || number->get<int64_t>() > INT32_MAX) {
            return Failed(number, where + "." + key + ".number", "not a whole number");
        }
        *out = static_cast<int>(number->get<int64_t>());
        return true;
    }

    std::nullptr_t Fail(const std::string& where, const std::string& what) {
        if (Ok()) {
            problem_ = where + ": " + what;
        }
        return nullptr;
    }

private:
    // For a field that was found but is of the wrong kind; a missing one has its problem already.
    bool Failed(const Json* field, const std::string& where, const std::string& what) {
        if (field != nullptr) {
            Fail(where, what);
        }
        return false;
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    }

    std::string problem_;
};

enum class ModelRead { kNone, kModelBuffer, kInquiry, kSettingsPage, kReadyByte };

bool ReadBufferOf(const std::vector<uint8_t>& cdb, uint8_t bufferId, int mode) {
    return cdb.size() >= 6 && cdb[0] == kOpReadBuffer && (cdb[1] & 0x1F) == mode &&
           cdb[2] == bufferId && cdb[3] == 0 && cdb[4] == 0 && cdb[5] == 0;
}

// The reads whose GOOD answers configure the model and are then answered by it.
ModelRead ModelReadOf(const std::vector<uint8_t>& cdb) {
    if (ReadBufferOf(cdb, kModelBufferId, 2)) {
        return ModelRead::kModelBuffer;
    }
    if (ReadBufferOf(cdb, kSettingsBufferId, 1)) {
        return ModelRead::kSettingsPage;
    }
    if (ReadBufferOf(cdb, kSettingsBufferId, 0)) {
        return ModelRead::kReadyByte;
    }
    if (cdb.size() >= 2 && cdb[0] == kOpInquiry && (cdb[1] & 0x01) == 0) {
        return ModelRead::kInquiry;
    }
    return ModelRead::kNone;
}

// The longest GOOD answer of each model read configures the model (the first of equal length):
// a shorter read, answered by the model, then gets the first bytes of it, cut to its own
// length. An empty answer configures nothing, so that the model never answers with a buffer of
// its own making.
using Configured = std::map<ModelRead, size_t>;

void Configure(ModelRead read, const std::vector<uint8_t>& reply, SimulatedDriveConfig& model,
               Configured& configured) {
    const auto found = configured.find(read);
    if (reply.empty() || (found != configured.end() && found->second >= reply.size())) {
        return;
    }
    configured[read] = reply.size();
    switch (read) {
        case ModelRead::kModelBuffer:
            model.modelBuffer = reply;
            model.answersModelBuffer = true;
            break;
        case ModelRead::kInquiry:
            model.inquiryData = reply;
            model.answersInquiry = true;
            break;
        case ModelRead::kSettingsPage:
            model.settingsPage = reply;
            break;
        case ModelRead::kReadyByte:
            if (reply.size() > kReadyByteIndex) {
                model.forcedReadyByte = reply[kReadyByteIndex];
            }
            break;
        case ModelRead::kNone:
            break;
    }
}

bool Direction(FieldReader& reader, const Json& command, const std::string& where,
               uint8_t* dataIn) {
    std::string word;
    if (!reader.Text(command, "direction", where, &word)) {
        return false;
    }
    if (word == "in" || word == "out" || word == "none") {
        *dataIn = word == "in" ? 1 : (word == "out" ? 0 : 2);
        return true;
    }
    return reader.Fail(where + ".direction", "not in, out or none") != nullptr;
}

bool Outcome(FieldReader& reader, const Json& command, const std::string& where,
             RecordedAnswer& answer) {
    std::string outcome;
    if (!reader.Text(command, "outcome", where, &outcome)) {
        return false;
    }
    if (outcome != "sent" && outcome != "rejected" && outcome != "os_error") {
        return reader.Fail(where + ".outcome", "not sent, rejected or os_error") != nullptr;
    }
    answer.systemFailed = outcome != "sent";
    answer.rejected = outcome == "rejected";
    return !answer.systemFailed ||
           reader.SystemError(command, "os_error", where, &answer.systemError);
}

// The reply bytes: data_in, then data_in_withheld zero bytes, transferred in all.
bool Reply(FieldReader& reader, const Json& command, const std::string& where,
           const RecordedAnswer& answer, std::vector<uint8_t>* reply) {
    uint64_t transferred = 0;
    uint64_t withheld = 0;
    if (!reader.Number(command, "transferred", where, answer.transferLength, &transferred) ||
        !reader.Hex(command, "data_in", where, answer.transferLength, reply) ||
        !reader.Number(command, "data_in_withheld", where, answer.transferLength, &withheld)) {
        return false;
    }
    if (reply->size() + withheld != transferred) {
        return reader.Fail(where, "data_in and data_in_withheld do not make transferred") !=
               nullptr;
    }
    reply->resize(static_cast<size_t>(transferred), 0);
    return true;
}

bool Answer(FieldReader& reader, const Json& command, const std::string& where,
            RecordedAnswer& answer, std::vector<uint8_t>* reply) {
    uint64_t number = 0;
    if (!reader.Hex(command, "cdb", where, kLongestCdb, &answer.cdb) ||
        !Direction(reader, command, where, &answer.dataIn) ||
        !reader.Number(command, "transfer_length", where, UINT32_MAX, &number)) {
        return false;
    }
    if (answer.cdb.empty()) {
        return reader.Fail(where + ".cdb", "empty") != nullptr;
    }
    answer.transferLength = static_cast<uint32_t>(number);
    if (!Outcome(reader, command, where, answer) ||
        !reader.Number(command, "scsi_status", where, 0xFF, &number)) {
        return false;
    }
    answer.status = static_cast<uint8_t>(number);
    if (!reader.Hex(command, "sense", where, kSenseAreaBytes, &answer.sense) ||
        !reader.Number(command, "microseconds", where, UINT64_MAX, &number, 0)) {
        return false;
    }
    answer.microseconds =
        static_cast<uint32_t>(std::min<uint64_t>(number, kLongestReplayedAnswerMicroseconds));
    reply->clear();
    return answer.dataIn != 1 || Reply(reader, command, where, answer, reply);
}

bool Commands(FieldReader& reader, const Json& recording, const std::string& where,
              ReplayedDrive& drive) {
    const Json* commands = reader.Field(recording, "commands", where);
    if (commands == nullptr || !commands->is_array()) {
        return commands != nullptr && reader.Fail(where + ".commands", "not an array") != nullptr;
    }
    Configured configured;
    for (size_t i = 0; i < commands->size(); ++i) {
        const std::string at = where + ".commands[" + std::to_string(i) + "]";
        RecordedAnswer answer;
        std::vector<uint8_t> reply;
        if (!Answer(reader, (*commands)[i], at, answer, &reply)) {
            return false;
        }
        const ModelRead read = ModelReadOf(answer.cdb);
        const bool good = !answer.systemFailed && answer.status == kScsiStatusGood;
        if (read != ModelRead::kNone && good && answer.dataIn == 1 && !reply.empty()) {
            Configure(read, reply, drive.model, configured);
            answer.source = RecordedAnswer::Source::kModel;
            answer.replyBytes = static_cast<uint32_t>(reply.size());
        } else {
            answer.data = std::move(reply);
        }
        drive.answers.push_back(std::move(answer));
    }
    return true;
}

bool Device(FieldReader& reader, const Json& recording, const std::string& where,
            ReplayedDrive& drive) {
    const Json* device = reader.Field(recording, "device", where);
    if (device == nullptr || !reader.Text(*device, "name", where + ".device", &drive.device.name) ||
        !reader.Text(*device, "path", where + ".device", &drive.device.devicePath)) {
        return false;
    }
    if (drive.device.name.empty() || drive.device.devicePath.empty()) {
        return reader.Fail(where + ".device", "an empty name or path") != nullptr;
    }
    drive.device.throughBlockNode = drive.device.devicePath.rfind("/dev/sr", 0) == 0;
    return true;
}

// One recording as a drive; *skipped for a busy one, which has nothing to replay.
bool Recording(FieldReader& reader, const Json& recording, const std::string& where,
               ReplayedDrive& drive, bool* skipped) {
    bool busy = false;
    bool opened = false;
    if (!Device(reader, recording, where, drive) || !reader.Flag(recording, "busy", where, &busy)) {
        return false;
    }
    *skipped = busy;
    if (busy) {
        return true;
    }
    if (!reader.Flag(recording, "opened", where, &opened) ||
        !reader.SystemError(recording, "open_error", where, &drive.openError)) {
        return false;
    }
    drive.opens = opened;
    if (!opened && drive.openError == 0) {
        drive.openError = kNotFound;
    }
    const Json* disc = reader.Field(recording, "disc_present", where);
    if (disc == nullptr) {
        return false;
    }
    drive.model.disc =
        disc->is_boolean() && disc->get<bool>() ? DiscState::kPresent : DiscState::kNone;
    return Commands(reader, recording, where, drive);
}

// The names the report's optical_drives lists; none when it has no such list.
std::set<std::string> OpticalDriveNames(const Json& document) {
    std::set<std::string> names;
    const auto drives = document.find("optical_drives");
    if (drives == document.end() || !drives->is_array()) {
        return names;
    }
    for (const Json& drive : *drives) {
        const auto name = drive.is_object() ? drive.find("name") : drive.end();
        if (drive.is_object() && name != drive.end() && name->is_string()) {
            names.insert(name->get<std::string>());
        }
    }
    return names;
}

bool FormatVersion(FieldReader& reader, const Json& document) {
    const Json* version = reader.Field(document, "json_format_version", "document");
    if (version == nullptr) {
        return false;
    }
    if (!version->is_array() || version->size() != 2 || !(*version)[0].is_number_integer()) {
        return reader.Fail("json_format_version", "not [major, minor]") != nullptr;
    }
    if ((*version)[0].get<int64_t>() != kJsonFormatMajorRead) {
        return reader.Fail("json_format_version", "a major version this program does not read") !=
               nullptr;
    }
    return true;
}

ReplayLoad Loaded(ReplayStatus status, std::string detail = {}) {
    return ReplayLoad{status, std::move(detail)};
}

ReplayLoad ReadDocument(const Json& document, ReplayedReport* report) {
    FieldReader reader;
    std::string command;
    if (!document.is_object() || !FormatVersion(reader, document) ||
        !reader.Text(document, "command", "document", &command) || command != "report") {
        return Loaded(
            ReplayStatus::kNotReport,
            reader.Ok() ? "not a diagnostic report (command is not \"report\")" : reader.Problem());
    }
    const Json* recordings = reader.Field(document, "recordings", "document");
    if (recordings == nullptr || !recordings->is_array()) {
        return Loaded(ReplayStatus::kMalformed,
                      reader.Ok() ? "recordings: not an array" : reader.Problem());
    }
    const std::set<std::string> optical = OpticalDriveNames(document);
    std::set<std::string> paths;
    ReplayedReport loaded;
    for (size_t i = 0; i < recordings->size(); ++i) {
        const std::string where = "recordings[" + std::to_string(i) + "]";
        ReplayedDrive drive;
        bool skipped = false;
        if (!Recording(reader, (*recordings)[i], where, drive, &skipped)) {
            return Loaded(ReplayStatus::kMalformed, reader.Problem());
        }
        if (skipped) {
            continue;
        }
        if (!paths.insert(drive.device.devicePath).second) {
            return Loaded(ReplayStatus::kMalformed,
                          where + ".device.path: that of an earlier recording");
        }
        drive.device.opticalDrive = optical.count(drive.device.name) != 0;
        loaded.drives.push_back(std::move(drive));
    }
    *report = std::move(loaded);
    return Loaded(ReplayStatus::kLoaded);
}

}  // namespace

ReplayLoad ParseReplayedReport(const std::string& text, ReplayedReport* report) {
    // Parsed without exceptions; the reader checks every type before it reads a value. The catch
    // is the edge nothing may cross, should the library throw all the same (memory).
    try {
        const Json document = Json::parse(text, nullptr, false);
        if (document.is_discarded()) {
            return Loaded(ReplayStatus::kNotJson, "not a JSON document");
        }
        return ReadDocument(document, report);
    } catch (const std::exception& error) {
        return Loaded(ReplayStatus::kMalformed, error.what());
    }
}

ReplayLoad LoadReplayedReport(const std::string& path, ReplayedReport* report) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Loaded(ReplayStatus::kUnreadable, std::strerror(errno));
    }
    std::string text;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        text.append(chunk, static_cast<size_t>(file.gcount()));
        if (text.size() > kLargestReportBytes) {
            return Loaded(ReplayStatus::kUnreadable, "larger than a report can be");
        }
    }
    if (file.bad()) {
        return Loaded(ReplayStatus::kUnreadable, "the file could not be read to its end");
    }
    return ParseReplayedReport(text, report);
}

void PlaceReplayedDrives(const ReplayedReport& report, SimulatedTransport& transport) {
    // The demo's window polls the ready byte once a second for as long as it runs.
    constexpr size_t kRecordLimit = 256;
    for (const ReplayedDrive& drive : report.drives) {
        SimulatedDrive& placed = transport.AddDrive(drive.device.devicePath, drive.model);
        placed.ReplayAnswers(drive.answers);
        placed.SetRecordLimit(kRecordLimit);
        transport.RefuseOpen(drive.device.devicePath, drive.opens ? 0 : drive.openError);
    }
}

std::vector<DriveCandidate> ReplayedCandidates(const ReplayedReport& report) {
    std::vector<DriveCandidate> candidates;
    for (const ReplayedDrive& drive : report.drives) {
        candidates.push_back(drive.device);
    }
    return candidates;
}
