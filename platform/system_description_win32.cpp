// The running Windows system for a diagnostic report: the version RtlGetVersion gives (it is not
// bound by the manifest, as GetVersionEx is), the processor architecture of the system (not of
// this process), the user's name, and whether the program runs under Wine, as ntdll's
// wine_get_version export tells (Windows' own ntdll has none).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/system_description.h"

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using WineGetVersionFunction = const char*(CDECL*)();
using WineGetHostVersionFunction = void(CDECL*)(const char**, const char**);

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return std::string();
    }
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size - 1));
    return utf8;
}

template <typename Function>
Function NtdllExport(const char* name) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)))
               : nullptr;
}

void DescribeVersion(SystemDescription& system) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto getVersion = NtdllExport<RtlGetVersionFunction>("RtlGetVersion");
    if (getVersion == nullptr || getVersion(&info) != 0) {
        return;
    }
    const std::string numbers = std::to_string(info.dwMajorVersion) + "." +
                                std::to_string(info.dwMinorVersion) + "." +
                                std::to_string(info.dwBuildNumber);
    const std::string servicePack = Utf8(info.szCSDVersion);
    system.os.version = servicePack.empty() ? numbers : numbers + " " + servicePack;
    system.os.versionId =
        std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
    system.os.prettyName = "Windows " + system.os.version;
    system.kernel = KernelName{"Windows NT", numbers, servicePack};
}

void DescribeWine(WineHost& wine) {
    const auto version = NtdllExport<WineGetVersionFunction>("wine_get_version");
    if (version == nullptr) {
        return;
    }
    wine.present = true;
    wine.version = version() != nullptr ? version() : "";
    const auto hostVersion = NtdllExport<WineGetHostVersionFunction>("wine_get_host_version");
    if (hostVersion != nullptr) {
        const char* system = nullptr;
        const char* release = nullptr;
        hostVersion(&system, &release);
        wine.hostSystem = system != nullptr ? system : "";
        wine.hostRelease = release != nullptr ? release : "";
    }
}

const char* ArchitectureName(WORD architecture) {
    switch (architecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
            return "x86_64";
        case PROCESSOR_ARCHITECTURE_INTEL:
            return "i686";
        case PROCESSOR_ARCHITECTURE_ARM64:
            return "aarch64";
        case PROCESSOR_ARCHITECTURE_ARM:
            return "arm";
        default:
            return "unknown";
    }
}

std::string UserName() {
    wchar_t name[257] = {};
    DWORD size = sizeof name / sizeof name[0];
    return GetUserNameW(name, &size) ? Utf8(name) : std::string();
}

}  // namespace

SystemDescription DescribeSystem(const std::string& /*root*/) {
    SystemDescription system;
    system.os.name = "Windows";
    system.os.id = "windows";
    DescribeVersion(system);
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    system.architecture = ArchitectureName(info.wProcessorArchitecture);
    system.userName = UserName();
    DescribeWine(system.wine);
    if (const char* profile = std::getenv("USERPROFILE")) {
        system.homeFolder = profile;
    }
    return system;
}
