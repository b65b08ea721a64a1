#include "testsupport/scratchfolder.h"

#include <atomic>
#include <stdexcept>
#include <system_error>

#include "testsupport/environment.h"

namespace testsupport {

ScratchFolder::ScratchFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
    static std::atomic<unsigned> counter = 0;
    const fs::path parent = fs::temp_directory_path();
    const std::string stem = prefix + std::to_string(processId()) + "-";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path candidate = parent / (stem + std::to_string(++counter));
        // create_directory answers false for a name that is taken, so two
        // programs never share a folder.
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = std::move(candidate);
            return;
        }
        if (error) throw std::runtime_error("cannot make " + candidate.string() + ": " + error.message());
    }
    throw std::runtime_error("no free name for a scratch folder in " + parent.string());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace testsupport
