// Single instance on Linux: a unix socket bound to a name in the abstract namespace. Binding
// fails with EADDRINUSE while another process holds the name, and the kernel frees the name when
// the holder's socket closes, also when the process dies.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/single_instance.h"

namespace {

class AbstractSocketClaim : public SingleInstanceMapping {
public:
    explicit AbstractSocketClaim(int socket) : socket_(socket) {}
    ~AbstractSocketClaim() override { close(socket_); }
    // No native window system is attached yet, so there is no window to bring forward.
    void PublishWindow(uintptr_t /*nativeWindow*/) override {}

private:
    int socket_;
};

}  // namespace

InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t length = std::strlen(name);
    if (length == 0 || length + 1 > sizeof address.sun_path) {
        return InstanceClaim::kFailed;
    }
    std::memcpy(address.sun_path + 1, name, length);  // sun_path[0] == 0: abstract namespace
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return InstanceClaim::kFailed;
    }
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        const int error = errno;
        close(fd);
        return error == EADDRINUSE ? InstanceClaim::kAlreadyRunning : InstanceClaim::kFailed;
    }
    *held = std::make_unique<AbstractSocketClaim>(fd);
    return InstanceClaim::kFirst;
}
