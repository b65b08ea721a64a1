#include "platform/registry/registryfile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/registry/regfile.h"

namespace platform::registry {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string homeDirectory() {
    std::string home = variable("HOME");
    if (!home.empty()) return home;
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

// What one read of the file found: a state and, for a file read, its bytes;
// for a failure, its description.
struct Snapshot {
    enum State { kMissing, kRead, kFailed };
    std::string path;
    State state = kMissing;
    std::string bytes;

    bool operator==(const Snapshot&) const = default;
};

Snapshot readFile(const std::string& path) {
    Snapshot snapshot;
    snapshot.path = path;
    if (path.empty()) return snapshot;
    // Non-blocking, so that a pipe in the file's place cannot hold us up.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return snapshot;
        snapshot.state = Snapshot::kFailed;
        snapshot.bytes = std::string("cannot be read (") + std::strerror(errno) + ")";
        return snapshot;
    }
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        snapshot.state = Snapshot::kFailed;
        snapshot.bytes = "is not a regular file";
        return snapshot;
    }
    snapshot.state = Snapshot::kRead;
    char buffer[65536];
    while (true) {
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            snapshot.state = Snapshot::kFailed;
            snapshot.bytes = std::string("cannot be read (") + std::strerror(errno) + ")";
            break;
        }
        if (count == 0) break;
        if (snapshot.bytes.size() + static_cast<std::size_t>(count) > kMostBytes) {
            snapshot.state = Snapshot::kFailed;
            snapshot.bytes = "is larger than 16 MiB";
            break;
        }
        snapshot.bytes.append(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
    return snapshot;
}

std::shared_ptr<const Tree> parse(const Snapshot& snapshot) {
    if (snapshot.state == Snapshot::kMissing) return std::make_shared<const Tree>();
    if (snapshot.state == Snapshot::kFailed) {
        std::fprintf(stderr, "registry file %s %s; the registry is read as empty\n",
                     snapshot.path.c_str(), snapshot.bytes.c_str());
        return std::make_shared<const Tree>();
    }
    ReadResult result =
        readRegFile(reinterpret_cast<const BYTE*>(snapshot.bytes.data()), snapshot.bytes.size());
    if (result.unsoundLines > 0) {
        std::fprintf(stderr, "%s:%zu: %s; the registry file has %zu unsound line%s, read as far as sound\n",
                     snapshot.path.c_str(), result.firstUnsoundLine,
                     result.firstProblem.c_str(), result.unsoundLines,
                     result.unsoundLines == 1 ? "" : "s");
    }
    return std::make_shared<const Tree>(std::move(result.tree));
}

std::mutex cacheMutex;
Snapshot cachedSnapshot;
std::shared_ptr<const Tree> cachedTree;

}  // namespace

std::string registryFilePath() {
    std::string named = variable("QUILLORY_REGISTRY");
    if (!named.empty()) return named;
    std::string config = variable("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') {
        std::string home = homeDirectory();
        if (home.empty()) return {};
        config = home + "/.config";
    }
    return config + "/quillory/registry.reg";
}

std::shared_ptr<const Tree> currentTree() {
    Snapshot snapshot = readFile(registryFilePath());
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (cachedTree == nullptr || !(snapshot == cachedSnapshot)) {
        cachedTree = parse(snapshot);
        cachedSnapshot = std::move(snapshot);
    }
    return cachedTree;
}

}  // namespace platform::registry
