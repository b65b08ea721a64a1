// A fresh folder in the temporary directory, made with the object and
// removed with all it holds when the object goes, so that each test works
// in a place of its own however many run at once. For Linux and Windows
// alike: the Windows runtime has no mkdtemp, so the name is the process id
// and a count, tried until a folder of that name could be made.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "quill-");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The host path of name inside the folder.
    std::string path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace testsupport
