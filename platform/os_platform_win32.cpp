// The platform id from GetVersionExA. The function is marked deprecated in newer SDKs, because
// it hides versions above the manifest's; only the platform id is read here, which it reports
// correctly on every version, so the warning is silenced for this one call.
#include <windows.h>

#include "platform/os_platform.h"

int QueryOsPlatformId() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL known = GetVersionExA(&info);
#if defined(_MSC_VER)
#pragma warning(pop)
#else
#pragma GCC diagnostic pop
#endif
    return known ? static_cast<int>(info.dwPlatformId) : 0;
}
