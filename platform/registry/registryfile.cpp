#include "platform/registry/registryfile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>

#include "platform/core/filedescriptor.h"
#include "platform/core/hosterror.h"
#include "platform/files/hostfile.h"
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

Snapshot failed(const std::string& path, const std::string& why) {
    Snapshot snapshot;
    snapshot.path = path;
    snapshot.state = Snapshot::kFailed;
    snapshot.bytes = why;
    return snapshot;
}

std::string cannotRead(int error) {
    return std::string("cannot be read (") + std::strerror(error) + ")";
}

Snapshot tooLarge(const std::string& path) {
    return failed(path, "is larger than " + std::to_string(kMostBytes >> 20) + " MiB");
}

// Reads an open file, which is left open.
Snapshot readOpenFile(const std::string& path, int fd) {
    Snapshot snapshot;
    snapshot.path = path;
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return failed(path, "is not a regular file");
    }
    // Every call looks at the file afresh: one too large is refused by its
    // size before a byte is read, one that grows while it is read below.
    if (static_cast<std::uintmax_t>(status.st_size) > kMostBytes) return tooLarge(path);
    snapshot.state = Snapshot::kRead;
    char buffer[65536];
    while (true) {
        int error = 0;
        std::size_t count = readHostFile(fd, buffer, sizeof buffer, error);
        if (error != 0) return failed(path, cannotRead(error));
        if (snapshot.bytes.size() + count > kMostBytes) return tooLarge(path);
        snapshot.bytes.append(buffer, count);
        if (count < sizeof buffer) break;
    }
    return snapshot;
}

Snapshot readFile(const std::string& path) {
    Snapshot snapshot;
    snapshot.path = path;
    if (path.empty()) return snapshot;
    struct stat status;
    FileDescriptor file(openHostFile(path, O_RDONLY | O_CLOEXEC, status));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return snapshot;
        return failed(path, cannotRead(errno));
    }
    return readOpenFile(path, file.get());
}

// The tree of a snapshot; sound tells whether it holds all of the file.
std::shared_ptr<const Tree> parse(const Snapshot& snapshot, bool& sound) {
    sound = snapshot.state != Snapshot::kFailed;
    if (snapshot.state == Snapshot::kMissing) return std::make_shared<const Tree>();
    if (snapshot.state == Snapshot::kFailed) {
        std::fprintf(stderr, "registry file %s %s; the registry is read as empty\n",
                     snapshot.path.c_str(), snapshot.bytes.c_str());
        return std::make_shared<const Tree>();
    }
    ReadResult result =
        readRegFile(reinterpret_cast<const BYTE*>(snapshot.bytes.data()), snapshot.bytes.size());
    sound = result.unsoundLines == 0;
    if (result.unsoundLines > 0) {
        std::fprintf(stderr,
                     "%s:%zu: %s; the registry file has %zu unsound line%s, read without them\n",
                     snapshot.path.c_str(), result.firstUnsoundLine, result.firstProblem.c_str(),
                     result.unsoundLines, result.unsoundLines == 1 ? "" : "s");
    }
    return std::make_shared<const Tree>(std::move(result.tree));
}

std::mutex cacheMutex;
Snapshot cachedSnapshot;
std::shared_ptr<const Tree> cachedTree;
bool cachedSound = true;

// The tree of a snapshot, parsed (and reported) only when it differs from
// the last one.
std::shared_ptr<const Tree> treeOf(Snapshot snapshot, bool& sound) {
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (cachedTree == nullptr || !(snapshot == cachedSnapshot)) {
        cachedTree = parse(snapshot, cachedSound);
        cachedSnapshot = std::move(snapshot);
    }
    sound = cachedSound;
    return cachedTree;
}

void remember(const std::string& path, std::string bytes, Tree tree) {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cachedSnapshot.path = path;
    cachedSnapshot.state = Snapshot::kRead;
    cachedSnapshot.bytes = std::move(bytes);
    cachedTree = std::make_shared<const Tree>(std::move(tree));
    cachedSound = true;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// The mark of our temporary files: the file's name, this, and the six
// characters mkostemp puts in place of its X's. A user's own files beside
// the registry file ("registry.reg.backup", "registry.reg.old001") must
// never look like one, or a write would remove them.
constexpr char kTemporaryMark[] = ".quillory-write-";
constexpr std::size_t kTemporaryRandom = 6;

bool isTemporaryOf(const std::string& name, const std::string& file) {
    const std::string prefix = file + kTemporaryMark;
    return name.size() == prefix.size() + kTemporaryRandom &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           name.find_first_not_of(
               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", prefix.size()) ==
               std::string::npos;
}

// Temporary files of writers that were killed before their rename. Only
// called under the lock: no other writer is midway then, so every one left
// beside the file is stale.
void removeStaleTemporaries(const std::string& path) {
    std::filesystem::path file(path);
    const std::string fileName = file.filename().string();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
        if (isTemporaryOf(entry.path().filename().string(), fileName) &&
            entry.is_regular_file(error)) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

// Writes bytes to a new file beside path and renames it over path.
DWORD replaceFile(const std::string& path, const std::string& bytes, mode_t mode) {
    removeStaleTemporaries(path);
    std::string temporary = path + kTemporaryMark + std::string(kTemporaryRandom, 'X');
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return platform::errorOfWrite(errno);
    bool written = fchmod(fd, mode) == 0 && writeAll(fd, bytes) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        return platform::errorOfWrite(error);
    }
    // The rename itself lasts once the folder is on the disk.
    std::string folder = std::filesystem::path(path).parent_path().string();
    int folderFd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return ERROR_SUCCESS;
}

// The file, open and locked, after it has been made when it was missing; -1
// with the failure's code in failure. A writer that renamed a new file in
// while we waited for the lock leaves us the old one, so the lock is taken
// again on whatever the path names now.
int lockedFile(const std::string& path, DWORD& failure) {
    while (true) {
        struct stat opened;
        int fd = openHostFile(path, O_RDONLY | O_CREAT | O_CLOEXEC, opened);
        if (fd < 0) {
            failure = platform::errorOfOpen(errno, path);
            return -1;
        }
        int locked;
        do {
            locked = flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        struct stat named;
        if (locked == 0 && stat(path.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            return fd;
        }
        int error = errno;
        close(fd);
        if (locked != 0) {
            failure = platform::errorOfWrite(error);
            return -1;
        }
    }
}

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
    bool sound;
    return treeOf(readFile(registryFilePath()), sound);
}

DWORD changeTree(const std::function<DWORD(Tree& tree, bool& changed)>& change) {
    std::string named = registryFilePath();
    if (named.empty()) return ERROR_PATH_NOT_FOUND;
    std::string path = named;
    // Through a link to the file it links to, so that the link stays.
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (!error) path = resolved.string();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    DWORD failure = ERROR_SUCCESS;
    int fd = lockedFile(path, failure);
    if (fd < 0) return failure;
    bool sound;
    std::shared_ptr<const Tree> current = treeOf(readOpenFile(named, fd), sound);
    DWORD result = sound ? ERROR_SUCCESS : ERROR_REGISTRY_CORRUPT;
    if (result == ERROR_SUCCESS) {
        Tree tree = *current;
        bool changed = false;
        result = change(tree, changed);
        struct stat status;
        if (result == ERROR_SUCCESS && changed) {
            std::string bytes = writeRegFile(tree);
            mode_t mode = fstat(fd, &status) == 0 ? (status.st_mode & 07777) : 0644;
            // A file the reader refuses would read as an empty registry
            // from then on: every other value lost for every process.
            result = bytes.size() > kMostBytes ? ERROR_NO_SYSTEM_RESOURCES
                                               : replaceFile(path, bytes, mode);
            if (result == ERROR_SUCCESS) remember(named, std::move(bytes), std::move(tree));
        }
    }
    close(fd);
    return result;
}

}  // namespace platform::registry
