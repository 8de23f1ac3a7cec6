// The transport of a dry run: it hands every reading command to the real transport and keeps
// every other command back (WRITE BUFFER, START STOP UNIT, anything unknown), answering it GOOD
// and recording it, so that the settings code runs its usual course and the user sees the
// commands it would send.
//
// A drive that took a write page would show the new value when the settings page is read back;
// without that the read-back would reject every kept-back write and the apply would retry it six
// times. So while it pretends, the settings page replies carry the values of the pages kept back,
// as a drive applies them: byte 19 (and 20 when saving) from an Optimal Writing Speed page, bytes
// 22 (and 23) from an Audio Optimized Write Mode page. Nothing here is ever reported as confirmed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cli/cli_report.h"
#include "platform/scsi_transport.h"

// Whether the dry run keeps a command with this opcode from the drive.
bool IsWithheldByDryRun(uint8_t opcode);

class DryRunTransport : public ScsiTransport {
public:
    explicit DryRunTransport(ScsiTransport& drives) : drives_(drives) {}

    OpenResult Open(const std::string& devicePath) override { return drives_.Open(devicePath); }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override;

    // The commands kept back, in order.
    const std::vector<WithheldCommand>& Withheld() const { return withheld_; }

    // Ends the pretending: the settings page comes back as the drive holds it.
    void StopPretending() { pretending_ = false; }

    // Answers WRITE BUFFER as Linux's block-node filter answers a user without CAP_SYS_RAWIO:
    // refused (EPERM), so that the settings code tells what the write would meet.
    void RefuseWritesForWantOfRights() { refuseWrites_ = true; }

private:
    TransportResult Withhold(PassThroughRequest& request);
    void PretendPageWritten(const uint8_t* page);
    void OverlayWrittenValues(const PassThroughRequest& request, const TransportResult& result);

    ScsiTransport& drives_;
    std::vector<WithheldCommand> withheld_;
    bool pretending_ = true;
    bool refuseWrites_ = false;
    std::array<int, 256> overlay_ = Unset();  // settings page byte -> value; -1 none

    static std::array<int, 256> Unset() {
        std::array<int, 256> bytes{};
        bytes.fill(-1);
        return bytes;
    }
};
