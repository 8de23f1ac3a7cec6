#include "app/drive_utility_program.h"

#include "app/base_app.h"
#include "app/system_access_messages.h"
#include "drive/drive_state.h"
#include "drive/media_watcher.h"
#include "ui/main_window_services.h"

int RunDriveUtility(DialogBackend& backend, ScsiTransport& transport,
                    const ProgramIdentity& identity) {
    DriveState drive(transport);
    drive.modelReadTimeoutSeconds = identity.modelReadTimeoutSeconds;
    MainWindowServices services{drive, GetMediaWatcher()};
    const char* mutexName = identity.mutexName;
    services.createMutex = [mutexName] { return CreateDriveAccessMutex(mutexName); };
    services.listCandidates = identity.listCandidates;
    services.accessMessages = &SystemAccessMessages();
    if (identity.diagnosticReport) {
        services.diagnosticReport = identity.diagnosticReport(transport);
    }
    CBaseApp application(backend, services, identity.instanceName);
    return application.Run();
}
