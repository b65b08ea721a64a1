// A fresh folder in the temporary directory, made with the object and
// removed with all it holds when the object goes, so that each test works
// in a place of its own however many run at once. For Linux and Windows
// alike: the Windows runtime has no mkdtemp, so the name is the process id
// and a count, tried until a folder of that name could be made.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// The temporary directory as an absolute path: $TMPDIR, or /tmp where it is
// unset or empty, as mktemp takes it (on Windows %TMP%, or what GetTempPath
// answers). Throws std::runtime_error, in one line saying what is wrong with
// which folder and what to do, where the tests cannot use it: it is missing,
// no folder, or its path holds a character outside the ANSI code page, in
// which the code under test reads narrow paths, or on Linux one that no
// Windows file name holds, since that code names files in Windows form.
std::filesystem::path temporaryDirectory();

class ScratchFolder {
public:
    // Throws as temporaryDirectory() does, and where no folder can be made
    // in the temporary directory.
    explicit ScratchFolder(const std::string& prefix = "quill-");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The host path (UTF-8), for the host's own file access: std::ifstream,
    // std::filesystem, a program of this machine started on it.
    const std::filesystem::path& path() const { return m_path; }
    // The host path of name inside the folder.
    std::string path(const std::string& name) const { return (m_path / name).string(); }
    // The same path in the ANSI code page (ansipath.h), as the narrow Windows
    // functions of the layer and of the code under test take it: CreateFileA,
    // LoadLibraryA, the logger, a registry value. The folder itself for an
    // empty name.
    std::string ansiPath(const std::string& name = "") const;
    // The ANSI path in Windows form, "\" for every "/", as the code above
    // the layer builds its paths and hands them to the narrow functions.
    std::string windowsPath(const std::string& name = "") const;

private:
    std::filesystem::path m_path;
};

}  // namespace testsupport
