// Test access to the log: while an object of this class lives, the log is
// written at the given level into a file of its own, which take() reads.
// Only test programs include it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "common/logger.h"

class WordLogCapture {
public:
    explicit WordLogCapture(int level = 1) {
        char pattern[] = "/tmp/quill-wordlog-XXXXXX";
        const int fd = mkstemp(pattern);
        EXPECT_GE(fd, 0);
        if (fd >= 0) {
            close(fd);
        }
        m_path = pattern;
        logInit(level, m_path.c_str(), false, false, true, false);
    }
    ~WordLogCapture() {
        logInit(0, nullptr, false, false, false, false);
        std::remove(m_path.c_str());
    }
    // What was logged since the last take.
    std::string take() {
        std::ifstream in(m_path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(m_path, std::ios::binary | std::ios::trunc);
        return text;
    }

private:
    std::string m_path;
};
