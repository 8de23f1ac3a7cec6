#include "cli/dry_run_transport.h"

#include <cerrno>

#include "drive/command_block.h"
#include "settings/settings_page.h"
#include "settings/write_pages.h"

namespace {

// The commands a drive only answers: identification, disc status and the settings reads.
bool OnlyReads(uint8_t opcode) {
    switch (opcode) {
        case 0x00:  // TEST UNIT READY
        case 0x03:  // REQUEST SENSE
        case 0x12:  // INQUIRY
        case 0x3C:  // READ BUFFER
        case 0x43:  // READ TOC
        case 0x4A:  // GET EVENT STATUS NOTIFICATION
        case 0x51:  // READ DISC INFORMATION
        case 0x52:  // READ TRACK INFORMATION
            return true;
        default:
            return false;
    }
}

constexpr size_t kWritePageMeaningfulBytes = 4;

// Whether the page's first two bytes are those of the settings code's own page of that kind.
bool IsPageOf(const uint8_t* page, const WritePage& kind) {
    return page[0] == kind.kind && page[1] == kind.subkind;
}

bool IsSettingsPageRead(const ScsiPassThroughDirect& header) {
    return header.Cdb[0] == kCodeReadBuffer && (header.Cdb[1] & 0x1F) == kSettingsPageMode &&
           header.Cdb[2] == kSettingsBufferId && header.DataIn == kScsiDataIn;
}

}  // namespace

bool IsWithheldByDryRun(uint8_t opcode) {
    return !OnlyReads(opcode);
}

TransportResult DryRunTransport::Execute(DeviceHandle handle, PassThroughRequest& request) {
    if (refuseWrites_ && request.header.Cdb[0] == kCodeWriteBuffer) {
        return TransportResult{TransportOutcome::kRejected, EPERM, 0, 0};
    }
    if (IsWithheldByDryRun(request.header.Cdb[0])) {
        return Withhold(request);
    }
    const TransportResult result = drives_.Execute(handle, request);
    if (pretending_ && IsSettingsPageRead(request.header)) {
        OverlayWrittenValues(request, result);
    }
    return result;
}

TransportResult DryRunTransport::Withhold(PassThroughRequest& request) {
    const ScsiPassThroughDirect& header = request.header;
    const uint8_t cdbLength = header.CdbLength <= sizeof header.Cdb ? header.CdbLength : 0;
    WithheldCommand command;
    command.cdb.assign(header.Cdb, header.Cdb + cdbLength);
    const auto* data = static_cast<const uint8_t*>(header.DataBuffer);
    if (header.Cdb[0] == kCodeWriteBuffer && data != nullptr &&
        header.DataTransferLength >= kWritePageMeaningfulBytes) {
        command.data.assign(data, data + kWritePageMeaningfulBytes);
        PretendPageWritten(data);
    }
    withheld_.push_back(command);
    // Answered as a drive answers GOOD: no sense, nothing transferred.
    request.header.ScsiStatus = 0;
    request.header.SenseInfoLength = 0;
    TransportResult result;
    result.outcome = TransportOutcome::kSent;
    return result;
}

void DryRunTransport::PretendPageWritten(const uint8_t* page) {
    const uint8_t value = page[2];
    const bool save = page[3] == 1;
    if (IsPageOf(page, OptimalSpeedWritePage(SettingChoice{}))) {
        overlay_[kPageOptimalSpeedCurrent] = value;
        if (save) {
            overlay_[kPageOptimalSpeedSaved] = value;
        }
    } else if (IsPageOf(page, AudioModeWritePage(SettingChoice{}))) {
        overlay_[kPageAudioModeCurrent] = value;
        if (save) {
            overlay_[kPageAudioModeSaved] = value;
        }
    }
}

void DryRunTransport::OverlayWrittenValues(const PassThroughRequest& request,
                                           const TransportResult& result) {
    if (!result.Sent() || request.header.ScsiStatus != 0 || request.header.DataBuffer == nullptr) {
        return;
    }
    auto* reply = static_cast<uint8_t*>(request.header.DataBuffer);
    for (uint32_t index = 0; index < result.bytesTransferred && index < overlay_.size(); ++index) {
        if (overlay_[index] >= 0) {
            reply[index] = static_cast<uint8_t>(overlay_[index]);
        }
    }
}
