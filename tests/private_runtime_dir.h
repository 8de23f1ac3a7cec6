// A runtime directory of the test's own: XDG_RUNTIME_DIR points at a fresh 0700 directory while
// the object lives, so that the single-instance names of the programs a test runs never meet a
// program or demo that the same user has open elsewhere on the machine.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class PrivateRuntimeDir {
public:
    PrivateRuntimeDir() {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern =
            std::string(temporary != nullptr ? temporary : "/tmp") + "/velmora-test-runtime.XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "no private runtime directory under " << pattern;
            return;
        }
        path_ = pattern;
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        hadPrevious_ = previous != nullptr;
        previous_ = hadPrevious_ ? previous : "";
        setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    }
    ~PrivateRuntimeDir() {
        if (path_.empty()) {
            return;
        }
        if (hadPrevious_) {
            setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateRuntimeDir(const PrivateRuntimeDir&) = delete;
    PrivateRuntimeDir& operator=(const PrivateRuntimeDir&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool hadPrevious_ = false;
    std::string previous_;
};
