// Entry point of the native Linux program: the Qt backend in the user's language, the system's
// pass-through (SG_IO) and the drives the system lists.
#include <memory>

#include "app/drive_utility_program.h"
#include "dialog/qt/qt_program.h"
#include "platform/system_scsi_transport.h"
#include "res/generated_resource_catalog.h"

namespace {

// packaging/linux/org.velmora.driveutility.desktop
constexpr char kDesktopEntry[] = "org.velmora.driveutility";

}  // namespace

int main(int /*argc*/, char** argv) {
    return RunQtProgram(
        argv[0], kDesktopEntry, GeneratedResourceCatalog(), [](DialogBackend& backend) {
            const std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
            return RunDriveUtility(backend, *transport);
        });
}
