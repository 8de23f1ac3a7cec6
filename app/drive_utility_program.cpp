#include "app/drive_utility_program.h"

#include "app/base_app.h"
#include "drive/drive_state.h"
#include "ui/main_window_services.h"
#include "ui/media_watcher.h"

int RunDriveUtility(DialogBackend& backend, ScsiTransport& transport, const char* instanceName,
                    const char* mutexName) {
    DriveState drive(transport);
    MainWindowServices services{drive, GetMediaWatcher()};
    services.createMutex = [mutexName] { return CreateDriveAccessMutex(mutexName); };
    CBaseApp application(backend, services, instanceName);
    return application.Run();
}
