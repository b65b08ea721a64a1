// Shared by the sound object's tests: the trace lines of a test, and a sound
// device that needs no sound card.
#pragma once

#include <string>
#include <vector>

#include "testsupport/scratchfolder.h"

// Writes the log at the trace level into a file of its own while it lives.
class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    std::vector<std::string> lines() const;
    // How many lines are exactly this one (without its "\n").
    int count(const std::string& line) const;

private:
    testsupport::ScratchFolder m_folder{"quill-sound-log-"};
    std::string m_path;
};
