// The single-instance object: a named system-wide object that only the first running copy of the
// program creates. On Windows it is a 10-byte named file mapping whose first bytes carry the
// first instance's main window, so that a later start can bring that window to the front. On
// Linux it is an abstract unix socket, per user; a later start asks the first instance over it,
// and the first calls the function its program published with the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

enum class InstanceClaim {
    kFirst,           // this process holds the object; the name is taken until it is released
    kAlreadyRunning,  // another instance holds it (and its window, if published, was brought
                      // to the front)
    kFailed,          // the object could not be created
};

class SingleInstanceMapping {
public:
    virtual ~SingleInstanceMapping() = default;  // releases the name
    // Publishes the main window (its native handle) for later starts. On Windows a later start
    // raises that window itself; elsewhere it asks this process, which calls bringToFront on a
    // thread of the object's own (nothing when it is empty). bringToFront must hand the work to
    // the window's thread and return at once.
    virtual void PublishWindow(uintptr_t nativeWindow,
                               std::function<void()> bringToFront = nullptr) = 0;
};

// name: narrow bytes of the object's name. On kFirst, *held receives the object.
InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held);
