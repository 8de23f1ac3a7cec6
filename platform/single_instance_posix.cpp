// Single instance on Linux: a unix socket bound to a name in the abstract namespace. Binding
// fails with EADDRINUSE while another process holds the name, and the kernel frees the name when
// the holder's socket closes, also when the process dies. The name carries the user id, so that
// each user has a program of their own, as each Windows session has its own named objects.
//
// A later start cannot bring the first one's window forward itself, so it asks: it connects to
// the name and sends a request; the first instance listens on a thread of its own and asks for
// its published window to be brought to the front, by the function its program published.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/single_instance.h"

namespace {

constexpr char kForegroundRequest[] = "front";
constexpr size_t kRequestLength = sizeof kForegroundRequest - 1;
constexpr char kAnswer = '+';
constexpr int kRequestWaitMs = 1000;  // a client that says nothing in this time is dropped
constexpr int kAnswerWaitMs = 2000;   // how long a later start waits to be heard

bool WaitReadable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// Reads exactly size bytes unless the peer stops talking within the wait.
bool ReadAll(int fd, char* buffer, size_t size, int timeoutMs) {
    size_t done = 0;
    while (done < size) {
        if (!WaitReadable(fd, timeoutMs)) {
            return false;
        }
        const ssize_t got = read(fd, buffer + done, size - done);
        if (got <= 0) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t sent = send(fd, data + done, size - done, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        done += static_cast<size_t>(sent);
    }
    return true;
}

bool IsSameUser(int connection) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == getuid();
}

class AbstractSocketClaim : public SingleInstanceMapping {
public:
    explicit AbstractSocketClaim(int socket) : socket_(socket) {
        if (pipe2(stopPipe_, O_CLOEXEC) == 0 && listen(socket_, 4) == 0) {
            listener_ = std::thread([this] { Listen(); });
        }
    }
    ~AbstractSocketClaim() override {
        if (listener_.joinable()) {
            const char stop = 0;
            while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
            }
            listener_.join();
        }
        for (int fd : stopPipe_) {
            if (fd >= 0) {
                close(fd);
            }
        }
        close(socket_);
    }
    void PublishWindow(uintptr_t nativeWindow, std::function<void()> bringToFront) override {
        std::lock_guard<std::mutex> lock(publishedMutex_);
        published_ = nativeWindow;
        bringToFront_ = std::move(bringToFront);
    }

private:
    void Listen() {
        for (;;) {
            pollfd entries[2] = {{socket_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
            if (poll(entries, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (entries[1].revents != 0) {
                return;
            }
            const int connection = accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                Answer(connection);
                close(connection);
            }
        }
    }

    // Only the same user's later start may bring the window forward.
    void Answer(int connection) {
        char request[kRequestLength];
        if (!IsSameUser(connection) ||
            !ReadAll(connection, request, kRequestLength, kRequestWaitMs) ||
            std::memcmp(request, kForegroundRequest, kRequestLength) != 0) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(publishedMutex_);
            if (published_ != 0 && bringToFront_) {
                bringToFront_();
            }
        }
        WriteAll(connection, &kAnswer, 1);
    }

    const int socket_;
    int stopPipe_[2] = {-1, -1};
    std::mutex publishedMutex_;
    uintptr_t published_ = 0;
    std::function<void()> bringToFront_;
    std::thread listener_;
};

// The address of the name for this user; false when it does not fit.
bool MakeAddress(const char* name, sockaddr_un* address, socklen_t* size) {
    const std::string full = std::string(name) + "." + std::to_string(getuid());
    if (*name == '\0' || full.size() + 1 > sizeof address->sun_path) {
        return false;
    }
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path + 1, full.data(), full.size());  // sun_path[0] 0: abstract
    *size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + full.size());
    return true;
}

// The later start's side: ask the holder to bring its window forward and wait to be heard.
void AskForTheWindow(const sockaddr_un& address, socklen_t size) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0 &&
        WriteAll(fd, kForegroundRequest, kRequestLength)) {
        char answer = 0;
        ReadAll(fd, &answer, 1, kAnswerWaitMs);
    }
    close(fd);
}

}  // namespace

InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held) {
    sockaddr_un address;
    socklen_t size = 0;
    if (!MakeAddress(name, &address, &size)) {
        return InstanceClaim::kFailed;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return InstanceClaim::kFailed;
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        const int error = errno;
        close(fd);
        if (error != EADDRINUSE) {
            return InstanceClaim::kFailed;
        }
        AskForTheWindow(address, size);
        return InstanceClaim::kAlreadyRunning;
    }
    *held = std::make_unique<AbstractSocketClaim>(fd);
    return InstanceClaim::kFirst;
}
