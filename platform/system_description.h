// What a diagnostic report says about the system the program runs on: the operating system and
// its version, the kernel, the processor architecture, and the user with the groups the user is
// in. Nothing else about the user or the machine: no host name, no home folder in what is told.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OperatingSystemName {
    std::string name;        // "Debian GNU/Linux"; "Windows"
    std::string version;     // "12 (bookworm)"; "6.1.7601 Service Pack 1"
    std::string id;          // "debian"; "windows"
    std::string versionId;   // "12"; "6.1"
    std::string prettyName;  // "Debian GNU/Linux 12 (bookworm)"
};

struct KernelName {
    std::string name;     // "Linux"; "Windows NT"
    std::string release;  // "6.1.0-18-amd64"; "6.1.7601"
    std::string version;  // "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)"
};

struct GroupName {
    uint32_t id = 0;
    std::string name;  // the number in decimal when the group has no name
};

// Windows under Wine: what Wine says of itself and of the system it runs on.
struct WineHost {
    bool present = false;
    std::string version;      // "8.0"
    std::string hostSystem;   // "Linux"
    std::string hostRelease;  // "6.1.0-18-amd64"
};

struct SystemDescription {
    OperatingSystemName os;
    KernelName kernel;
    std::string architecture;  // of the processor the system runs on: "x86_64", "i686", "aarch64"
    std::string userName;
    int64_t userId = -1;            // -1 where the system has no such number (Windows)
    std::vector<GroupName> groups;  // the user's groups, the primary one first (Linux)
    int sgModuleLoaded = -1;        // Linux: 1 when /sys/module/sg exists, else 0; -1 elsewhere
    WineHost wine;                  // Windows only
    std::string homeFolder;         // never reported: the report hides it where it appears
};

// The system under root ("/" for the running one; a test's fake tree otherwise: its
// etc/os-release and sys/module); the kernel, architecture and user are always the running
// process's.
SystemDescription DescribeSystem(const std::string& root);
