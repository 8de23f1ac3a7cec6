// Single instance on Linux: a lock file and a unix socket in a directory that only this user can
// write. The first start takes the lock (flock, freed by the kernel when the holder's descriptor
// closes, also when the process dies) and listens on the socket; a later start finds the lock
// taken, connects, checks that what listens is this user's, and asks it to bring its window to
// the front, handing on the activation its own launcher gave it.
//
// Why a directory of the user's own: a name in the abstract socket namespace has no owner or
// permissions, so any local user could bind it first and make this user's program end at start,
// or hang it in connect() behind a backlog that is never accepted. Inside a directory that is
// this user's and open to nobody else, only this user (and root) can create, bind or replace a
// file. Which directory, in this order:
//  1. $XDG_RUNTIME_DIR, made by the session for this user (pam_systemd: /run/user/UID in a
//     root-owned /run/user). It is used only if it is an absolute path naming a directory itself
//     (not a link to one: a link could lead anywhere), owned by this user, with no access for
//     group or others: checked on the opened directory with O_NOFOLLOW, so that a link planted
//     in its place is refused, not followed.
//  2. ${TMPDIR:-/tmp}/velmora-drive-utility-UID, made with mkdir mode 0700 and then checked the
//     same way. Another user may create that name first (squatting); then it is not this user's
//     and is not used. Once it is this user's, nobody else can rename or remove it from a
//     sticky /tmp, so the checked path stays this user's directory.
//  3. ${XDG_CACHE_HOME:-$HOME/.cache}/velmora-drive-utility, made and checked the same way.
// Every start of the user walks the same list in the same environment and so meets at the same
// place. If none can be had, or the socket's holder turns out to be another user's process, the
// program runs without the single-instance object (kRunAlone): the worst another user can then
// cause is a second window, never an end or a hang.
//
// A socket file left by a holder that died is harmless: the lock, not the file, says whether a
// holder lives, and the first start removes the file before it binds its own. A later start
// connects without blocking and gives up after a time limit, so a holder that never accepts
// (a full backlog) or never answers delays it by a few seconds at most, and the window then runs
// without the name; a later start ends only once this user's own listener has answered that it
// will bring its window forward.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/single_instance.h"

namespace {

constexpr char kRequestLine[] = "front\n";
constexpr char kTokenKey[] = "activation-token ";
constexpr char kStartupIdKey[] = "startup-id ";
constexpr size_t kMaxRequest = 4096;
constexpr size_t kMaxTokenLength = 1024;
constexpr char kAnswer = '+';
constexpr int kRequestWaitMs = 1000;  // a client that says nothing in this time is dropped
constexpr int kConnectWaitMs = 2000;  // how long a later start tries to reach the holder
constexpr int kConnectRetryMs = 20;
constexpr int kAnswerWaitMs = 2000;  // how long a later start waits to be heard
constexpr char kDirectoryName[] = "velmora-drive-utility";

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int ready = poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready >= 0 || errno != EINTR) {
            return ready > 0;
        }
    }
}

// Reads until the peer's message ends (an empty line, or one byte for an answer), it has said
// size bytes, or it stops talking within the wait.
bool ReadMessage(int fd, std::string* message, size_t size, const char* end, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[512];
    while (message->size() < size) {
        if (end != nullptr && message->find(end) != std::string::npos) {
            return true;
        }
        if (!WaitFor(fd, POLLIN, MillisecondsUntil(deadline))) {
            return false;
        }
        const ssize_t got = recv(fd, buffer, std::min(sizeof buffer, size - message->size()), 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        message->append(buffer, static_cast<size_t>(got));
    }
    return end == nullptr || message->find(end) != std::string::npos;
}

bool WriteAll(int fd, const std::string& data, int timeoutMs) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t sent = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && errno == EAGAIN && WaitFor(fd, POLLOUT, timeoutMs)) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        done += static_cast<size_t>(sent);
    }
    return true;
}

// Whether the process at the other end of a connection runs as this user. For a listening
// socket the kernel reports who called listen(); for a connecting one, who called connect().
bool IsSameUser(int connection) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
}

// A token goes over the socket on a line of its own; one that could break the line is dropped.
bool IsSendable(const std::string& token) {
    return !token.empty() && token.size() <= kMaxTokenLength &&
           token.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

std::string RequestFor(const WindowActivation& launch) {
    std::string request = kRequestLine;
    if (IsSendable(launch.activationToken)) {
        request += kTokenKey + launch.activationToken + "\n";
    }
    if (IsSendable(launch.startupId)) {
        request += kStartupIdKey + launch.startupId + "\n";
    }
    return request + "\n";
}

// false when the message is not a request to bring the window forward.
bool ParseRequest(const std::string& message, WindowActivation* launch) {
    if (message.compare(0, std::strlen(kRequestLine), kRequestLine) != 0) {
        return false;
    }
    size_t at = std::strlen(kRequestLine);
    for (size_t end; (end = message.find('\n', at)) != std::string::npos && end > at;
         at = end + 1) {
        const std::string line = message.substr(at, end - at);
        if (line.rfind(kTokenKey, 0) == 0) {
            launch->activationToken = line.substr(std::strlen(kTokenKey));
        } else if (line.rfind(kStartupIdKey, 0) == 0) {
            launch->startupId = line.substr(std::strlen(kStartupIdKey));
        }
    }
    return true;
}

class SocketClaim : public SingleInstanceMapping {
public:
    SocketClaim(int socket, int lock, std::string path)
        : socket_(socket), lock_(lock), path_(std::move(path)) {
        if (pipe2(stopPipe_, O_CLOEXEC) == 0) {
            listener_ = std::thread([this] { Listen(); });
        }
    }
    ~SocketClaim() override {
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
        unlink(path_.c_str());  // still under the lock: the file is this holder's own
        close(lock_);           // the lock file stays: removing it would race a later start
    }
    void PublishWindow(uintptr_t nativeWindow,
                       std::function<void(const WindowActivation&)> bringToFront) override {
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
        std::string message;
        WindowActivation launch;
        if (!IsSameUser(connection) ||
            !ReadMessage(connection, &message, kMaxRequest, "\n\n", kRequestWaitMs) ||
            !ParseRequest(message, &launch)) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(publishedMutex_);
            if (published_ != 0 && bringToFront_) {
                bringToFront_(launch);
            }
        }
        WriteAll(connection, std::string(1, kAnswer), kRequestWaitMs);
    }

    const int socket_;
    const int lock_;
    const std::string path_;
    int stopPipe_[2] = {-1, -1};
    std::mutex publishedMutex_;
    uintptr_t published_ = 0;
    std::function<void(const WindowActivation&)> bringToFront_;
    std::thread listener_;
};

// The program's name as a file name: letters, digits, '-', '_' and (not first) '.' stay; every
// other byte, such as the Shift-JIS bytes of a katakana name or a '/', becomes %XX.
std::string FileNameOf(const char* name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string file;
    for (const char* at = name; *at != '\0'; ++at) {
        const unsigned char byte = static_cast<unsigned char>(*at);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                           (byte == '.' && at != name);
        if (plain) {
            file += static_cast<char>(byte);
        } else {
            file += '%';
            file += kHex[byte >> 4];
            file += kHex[byte & 0xF];
        }
    }
    return file;
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// An absolute path without trailing slashes ("dir/" would follow a link named dir); empty when
// the value is not an absolute path.
std::string AbsoluteDirectory(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return !path.empty() && path[0] == '/' ? path : "";
}

// A directory in its own right (no link followed), this user's, open to nobody else.
bool IsPrivateDirectory(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    const bool isPrivate = fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) &&
                           status.st_uid == geteuid() && (status.st_mode & 077) == 0;
    close(fd);
    return isPrivate;
}

// Creates the directory 0700 unless it exists; either way it must then be private.
bool MakePrivateDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (mkdir(path.c_str(), 0700) == 0) {
        chmod(path.c_str(), 0700);  // a umask may have taken the owner's bits
    } else if (errno != EEXIST) {
        return false;
    }
    return IsPrivateDirectory(path);
}

// The places to try, in order (see the top of this file). The runtime directory is the
// session's and is only checked; the others are made when missing.
struct Candidate {
    std::string directory;
    bool make;        // made when missing
    bool makeParent;  // its parent too (the cache, in the home: this user's own)
};

std::vector<Candidate> CandidateDirectories() {
    std::vector<Candidate> candidates;
    const std::string runtime = AbsoluteDirectory(Variable("XDG_RUNTIME_DIR"));
    if (!runtime.empty()) {
        candidates.push_back({runtime, false, false});
    }
    const std::string temporary = AbsoluteDirectory(Variable("TMPDIR"));
    candidates.push_back({(temporary.empty() ? std::string("/tmp") : temporary) + "/" +
                              kDirectoryName + "-" + std::to_string(geteuid()),
                          true, false});
    std::string cache = AbsoluteDirectory(Variable("XDG_CACHE_HOME"));
    const std::string home = AbsoluteDirectory(Variable("HOME"));
    if (cache.empty() && !home.empty()) {
        cache = home + "/.cache";
    }
    if (!cache.empty()) {
        candidates.push_back({cache + "/" + kDirectoryName, true, true});
    }
    return candidates;
}

struct InstancePlace {
    sockaddr_un address{};
    socklen_t addressSize = 0;
    std::string socketPath;
    std::string lockPath;
};

bool IsUsable(const Candidate& candidate) {
    if (!candidate.make) {
        return IsPrivateDirectory(candidate.directory);
    }
    const size_t parent = candidate.directory.rfind('/');
    if (candidate.makeParent && parent != 0 && parent != std::string::npos) {
        mkdir(candidate.directory.substr(0, parent).c_str(), 0700);
    }
    return MakePrivateDirectory(candidate.directory);
}

// The first candidate directory that is this user's alone and where the socket's path fits.
bool FindPlace(const std::string& fileName, InstancePlace* place) {
    for (const Candidate& candidate : CandidateDirectories()) {
        const std::string socketPath = candidate.directory + "/" + fileName;
        if (socketPath.size() + std::strlen(".lock") + 1 > sizeof place->address.sun_path ||
            !IsUsable(candidate)) {
            continue;
        }
        place->socketPath = socketPath;
        place->lockPath = socketPath + ".lock";
        place->address.sun_family = AF_UNIX;
        std::memcpy(place->address.sun_path, socketPath.c_str(), socketPath.size() + 1);
        place->addressSize =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + socketPath.size() + 1);
        return true;
    }
    return false;
}

// A connected socket to the holder, or -1 when none answered within the wait: nobody listening
// yet (ECONNREFUSED, no file: the holder is between its lock and its listen()), or a backlog
// that stays full (EAGAIN).
int ConnectToHolder(const InstancePlace& place) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kConnectWaitMs);
    for (;;) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            return -1;
        }
        if (connect(fd, reinterpret_cast<const sockaddr*>(&place.address), place.addressSize) ==
            0) {
            return fd;
        }
        const int error = errno;
        close(fd);
        const bool worthRetrying =
            error == ECONNREFUSED || error == ENOENT || error == EAGAIN || error == EINTR;
        if (!worthRetrying || MillisecondsUntil(deadline) == 0) {
            return -1;
        }
        poll(nullptr, 0, std::min(kConnectRetryMs, MillisecondsUntil(deadline)));
    }
}

// The later start's side: the holder must be this user's before it hears anything.
InstanceClaim AskTheHolder(const InstancePlace& place, const WindowActivation& launch) {
    const int fd = ConnectToHolder(place);
    if (fd < 0) {
        return InstanceClaim::kRunAlone;
    }
    if (!IsSameUser(fd)) {
        close(fd);
        return InstanceClaim::kRunAlone;
    }
    std::string answer;
    const bool heard = WriteAll(fd, RequestFor(launch), kAnswerWaitMs) &&
                       ReadMessage(fd, &answer, 1, nullptr, kAnswerWaitMs) && answer[0] == kAnswer;
    close(fd);
    // A holder that does not answer (stopped, or stuck) cannot show its window: this one runs.
    return heard ? InstanceClaim::kAlreadyRunning : InstanceClaim::kRunAlone;
}

// The first start's side, under the lock: a socket file still there was left by a holder that
// died, since a live one would hold the lock.
InstanceClaim Listen(const InstancePlace& place, int lock,
                     std::unique_ptr<SingleInstanceMapping>* held) {
    unlink(place.socketPath.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&place.address), place.addressSize) != 0 ||
        listen(fd, 8) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        close(lock);
        return InstanceClaim::kRunAlone;
    }
    *held = std::make_unique<SocketClaim>(fd, lock, place.socketPath);
    return InstanceClaim::kFirst;
}

}  // namespace

InstanceClaim ClaimSingleInstance(const char* name, std::unique_ptr<SingleInstanceMapping>* held,
                                  const WindowActivation& launch) {
    if (*name == '\0') {
        return InstanceClaim::kFailed;
    }
    InstancePlace place;
    if (!FindPlace(FileNameOf(name), &place)) {
        return InstanceClaim::kRunAlone;
    }
    const int lock = open(place.lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock < 0) {
        return InstanceClaim::kRunAlone;
    }
    int locked;
    do {
        locked = flock(lock, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        return Listen(place, lock, held);
    }
    const int error = errno;
    close(lock);
    return error == EWOULDBLOCK ? AskTheHolder(place, launch) : InstanceClaim::kRunAlone;
}
