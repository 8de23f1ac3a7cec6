// The single-instance object: a named object that only the first running copy of the program
// holds. On Windows it is a 10-byte named file mapping whose first bytes carry the first
// instance's main window, so that a later start can bring that window to the front. On Linux it
// is a unix socket in a directory only its user can write (single_instance_posix.cpp); a later
// start asks the first instance over it, handing on what its launcher gave it to take the focus,
// and the first calls the function its program published with the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/window_activation.h"

enum class InstanceClaim {
    kFirst,           // this process holds the object; the name is taken until it is released
    kAlreadyRunning,  // another instance of this user holds it and has answered (its window, if
                      // published, was asked to come to the front)
    kFailed,          // the object could not be created
    kRunAlone,        // no safe place for the object could be had, or what holds the name is not
                      // this user's program or does not answer: this process runs without the
                      // object, and no later start will find it (never returned on Windows)
};

class SingleInstanceMapping {
public:
    virtual ~SingleInstanceMapping() = default;  // releases the name
    // Publishes the main window (its native handle) for later starts. On Windows a later start
    // raises that window itself; elsewhere it asks this process, which calls bringToFront with
    // that start's activation, on a thread of the object's own (nothing when it is empty).
    // bringToFront must hand the work to the window's thread and return at once.
    virtual void PublishWindow(
        uintptr_t nativeWindow,
        std::function<void(const WindowActivation& launch)> bringToFront = nullptr) = 0;
};

// name: narrow bytes of the object's name. On kFirst, *held receives the object. launch: what a
// later start hands the first instance (Linux; Windows raises the window itself).
InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held,
                                  const WindowActivation& launch = LaunchActivation());
