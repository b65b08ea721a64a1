#include "platform/module/module.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>

#include "platform/core/failurecount.h"
#include "platform/core/filedescriptor.h"
#include "platform/core/heldcall.h"
#include "platform/core/hosterror.h"
#include "platform/files/hostfile.h"
#include "platform/module/moduleimage.h"
#include "platform/files/path.h"
#include "platform/module/programresources.h"
#include "platform/module/modulecontrols.h"

// Defined only in programs that embed resources; hidden, so that a shared
// library never binds to a program's image at run time.
extern "C" __attribute__((weak, visibility("hidden")))
const QuillProgramResources quillProgramResources;

namespace {

using platform::FileDescriptor;

struct Module {
    platform::PeImage image;
    // The image's bytes, copied into memory of our own, read-only.
    void* mapping = nullptr;
    std::size_t size = 0;
    std::size_t length = 0;  // bytes read; the file may have shrunk meanwhile
    // The file as it was when its headers were checked.
    dev_t device = 0;
    ino_t inode = 0;
    off_t fileSize = 0;
    timespec modified{};
    unsigned long references = 1;

    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module() {
        if (mapping != nullptr) munmap(mapping, size);
    }
};

struct Registry {
    std::mutex lock;
    std::map<const void*, std::unique_ptr<Module>> modules;
};

// Never destroyed: code that runs at exit may still free its libraries.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

platform::FailureCount failingLoads;

// What a test runs while the next load is about to read its file.
platform::HeldCall heldRead;

// Any unique address serves as the program module's handle.
char programModuleTag;

HMODULE programHandle() { return reinterpret_cast<HMODULE>(&programModuleTag); }

const platform::PeImage& programImage() {
    static const platform::PeImage image = [] {
        platform::PeImage embedded;
        if (&quillProgramResources != nullptr) {
            // A damaged image leaves the reader empty: the program then has
            // no resources, as without one.
            embedded.open(quillProgramResources.data, quillProgramResources.size);
        }
        return embedded;
    }();
    return image;
}

// LoadLibrary answers a missing library, or a missing folder on its way,
// with ERROR_MOD_NOT_FOUND, where the file services tell the two apart.
DWORD asLoadError(DWORD found) {
    return found == ERROR_FILE_NOT_FOUND || found == ERROR_PATH_NOT_FOUND ? ERROR_MOD_NOT_FOUND
                                                                           : found;
}

DWORD loadError(int error) { return asLoadError(platform::errorOfErrno(error)); }

// The same file, unchanged since the module was loaded from it. A file
// rewritten in place keeps its inode, so the size and the modification time
// must match as well; a changed file becomes a module of its own.
bool isLoadedFrom(const Module& module, const struct stat& info) {
    return module.device == info.st_dev && module.inode == info.st_ino &&
           module.fileSize == info.st_size && module.modified.tv_sec == info.st_mtim.tv_sec &&
           module.modified.tv_nsec == info.st_mtim.tv_nsec;
}

HMODULE fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Reads the image into an anonymous mapping that only this module holds.
// Windows keeps a loaded library's file from being written; here the file
// may change at any time, so nothing of the module may stay tied to it: a
// library copied over, cut short or removed while loaded leaves the module
// as it was loaded instead of killing the process with SIGBUS. The headers
// come first and say how much to read: a file that is no library costs only
// them, and whatever follows the image (a damaged copy's tail, a download's
// preallocated space) is never read.
DWORD copyImage(int fd, std::uint64_t fileSize, Module& module) {
    int error = 0;
    auto fromFile = [fd, &error](std::uint64_t offset, std::size_t length, BYTE* out) {
        int failed = 0;
        std::size_t read = platform::readHostFile(fd, out, length, failed,
                                                  platform::ReadUntil::kEnd,
                                                  static_cast<off_t>(offset));
        if (failed != 0) error = failed;
        return read == length;
    };
    std::uint64_t extent = 0;
    DWORD measured = platform::PeImage::measure(fileSize, fromFile, extent);
    if (error != 0) return loadError(error);
    if (measured != ERROR_SUCCESS) return measured;

    auto size = static_cast<std::size_t>(extent);
    void* mapping = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapping == MAP_FAILED) return loadError(errno);
    module.mapping = mapping;
    module.size = size;
    module.length =
        platform::readHostFile(fd, mapping, size, error, platform::ReadUntil::kEnd, 0);
    if (error != 0) return loadError(error);
    if (mprotect(mapping, size, PROT_READ) != 0) return loadError(errno);
    return ERROR_SUCCESS;
}

// The module already loaded from the file, with one more reference; null
// when there is none. Called under the registry's lock.
HMODULE referenceLoaded(Registry& modules, const struct stat& info) {
    for (auto& [handle, module] : modules.modules) {
        if (isLoadedFrom(*module, info)) {
            ++module->references;
            return reinterpret_cast<HMODULE>(const_cast<void*>(handle));
        }
    }
    return nullptr;
}

}  // namespace

namespace platform {

const PeImage* moduleImage(HMODULE module) {
    if (module == nullptr || module == programHandle()) return &programImage();
    Registry& modules = registry();
    std::lock_guard<std::mutex> guard(modules.lock);
    auto found = modules.modules.find(module);
    if (found == modules.modules.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second->image;
}

namespace testing {

void failNextLibraryLoads(int count) { failingLoads.set(count); }

void holdNextLibraryRead(std::function<void()> whileReading) {
    heldRead.set(std::move(whileReading));
}

}  // namespace testing

}  // namespace platform

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr) return fail(ERROR_INVALID_PARAMETER);
    if (failingLoads.take()) return fail(ERROR_NOT_ENOUGH_MEMORY);

    std::string path = platform::hostPath(fileName);
    struct stat info {};
    FileDescriptor file(platform::openHostFile(path, O_RDONLY | O_CLOEXEC, info));
    if (file.get() < 0) return fail(asLoadError(platform::errorOfOpen(errno, path)));
    if (S_ISDIR(info.st_mode)) return fail(ERROR_ACCESS_DENIED);
    if (!S_ISREG(info.st_mode) || info.st_size <= 0) return fail(ERROR_BAD_EXE_FORMAT);

    Registry& modules = registry();
    {
        std::lock_guard<std::mutex> guard(modules.lock);
        if (HMODULE loaded = referenceLoaded(modules, info)) return loaded;
    }

    // Read without the lock: a slow file holds up only its own loading.
    heldRead.run();
    std::unique_ptr<Module> module(new (std::nothrow) Module);
    if (!module) return fail(ERROR_NOT_ENOUGH_MEMORY);
    DWORD copied = copyImage(file.get(), static_cast<std::uint64_t>(info.st_size), *module);
    if (copied != ERROR_SUCCESS) return fail(copied);
    module->device = info.st_dev;
    module->inode = info.st_ino;
    module->fileSize = info.st_size;
    module->modified = info.st_mtim;
    DWORD result = module->image.open(static_cast<const BYTE*>(module->mapping), module->length);
    if (result != ERROR_SUCCESS) return fail(result);

    std::lock_guard<std::mutex> guard(modules.lock);
    // Another thread may have loaded the same file meanwhile: its module is
    // the file's, and this copy is dropped once the lock is let go.
    if (HMODULE loaded = referenceLoaded(modules, info)) return loaded;
    const void* handle = module.get();
    try {
        modules.modules.emplace(handle, std::move(module));
    } catch (const std::bad_alloc&) {
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    return reinterpret_cast<HMODULE>(const_cast<void*>(handle));
}

BOOL FreeLibrary(HMODULE module) {
    if (module == programHandle()) return TRUE;
    Registry& modules = registry();
    std::lock_guard<std::mutex> guard(modules.lock);
    auto found = modules.modules.find(module);
    if (found == modules.modules.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--found->second->references == 0) modules.modules.erase(found);
    return TRUE;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) return programHandle();
    return fail(ERROR_MOD_NOT_FOUND);
}
