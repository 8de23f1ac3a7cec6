// Entry point of the native Linux program: the Qt backend in the user's language, the system's
// pass-through (SG_IO) and the drives the system lists, and the diagnostic report on its menu.
#include <memory>
#include <string>
#include <vector>

#include "app/diagnostic_report_service.h"
#include "app/drive_utility_program.h"
#include "dialog/qt/qt_program.h"
#include "platform/system_scsi_transport.h"
#include "res/generated_resource_catalog.h"

namespace {

// packaging/linux/org.velmora.driveutility.desktop
constexpr char kDesktopEntry[] = "org.velmora.driveutility";

constexpr char kProgramName[] = "velmora-drive-utility";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    ProgramIdentity identity;
    identity.modelReadTimeoutSeconds = kPatientModelReadTimeoutSeconds;
    identity.diagnosticReport = [&arguments](ScsiTransport& transport) {
        return WindowDiagnosticReport(transport, ListSystemDriveCandidates, kProgramName,
                                      arguments);
    };
    return RunQtProgram(
        argv[0], kDesktopEntry, GeneratedResourceCatalog(), [&identity](DialogBackend& backend) {
            const std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
            return RunDriveUtility(backend, *transport, identity);
        });
}
