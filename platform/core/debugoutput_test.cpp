#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Sends standard error to a temporary file for the life of the object.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        m_file = std::tmpfile();
        m_saved = dup(STDERR_FILENO);
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture() {
        restore();
        if (m_file != nullptr) std::fclose(m_file);
    }

    std::string text() {
        restore();
        std::string out;
        std::rewind(m_file);
        char buffer[256];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof(buffer), m_file)) > 0) out.append(buffer, got);
        return out;
    }

private:
    void restore() {
        if (m_saved < 0) return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    std::FILE* m_file = nullptr;
    int m_saved = -1;
};

class DebugOutput : public testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv("QUILLORY_DEBUG_OUTPUT");
        m_hadValue = value != nullptr;
        if (m_hadValue) m_value = value;
    }
    void TearDown() override {
        if (m_hadValue) {
            setenv("QUILLORY_DEBUG_OUTPUT", m_value.c_str(), 1);
        } else {
            unsetenv("QUILLORY_DEBUG_OUTPUT");
        }
    }

private:
    bool m_hadValue = false;
    std::string m_value;
};

TEST_F(DebugOutput, GoesToStandardErrorAsUtf8WhenAskedFor) {
    setenv("QUILLORY_DEBUG_OUTPUT", "1", 1);
    StderrCapture capture;
    OutputDebugStringA("K\xE4se \x80\n");
    OutputDebugStringW(L"Größe \U0001F600\n");
    OutputDebugStringA(nullptr);
    EXPECT_EQ(capture.text(),
              "K\xC3\xA4se \xE2\x82\xAC\n"
              "Gr\xC3\xB6\xC3\x9F" "e \xF0\x9F\x98\x80\n");
}

TEST_F(DebugOutput, IsSilentWithoutTheVariable) {
    unsetenv("QUILLORY_DEBUG_OUTPUT");
    StderrCapture capture;
    OutputDebugStringA("nobody listens\n");
    OutputDebugStringW(L"nobody listens\n");
    setenv("QUILLORY_DEBUG_OUTPUT", "", 1);
    OutputDebugStringA("an empty value is no request\n");
    EXPECT_EQ(capture.text(), "");
}

}  // namespace
