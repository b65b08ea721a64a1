// Test access to the log: while an object of this class lives, the log is
// written at the given level into a file of its own, which take() reads.
// Only test programs include it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "common/logger.h"
#include "testsupport/scratchfolder.h"

class WordLogCapture {
public:
    explicit WordLogCapture(int level = 1) {
        m_path = m_folder.path("word.log");
        logInit(level, m_folder.ansiPath("word.log").c_str(), false, false, true, false);
    }
    ~WordLogCapture() {
        logInit(0, nullptr, false, false, false, false);
    }
    // What was logged since the last take, read as the text-mode file it is.
    std::string take() {
        std::ifstream in(m_path);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(m_path, std::ios::binary | std::ios::trunc);
        return text;
    }

private:
    testsupport::ScratchFolder m_folder{"quill-wordlog-"};
    std::string m_path;
};
