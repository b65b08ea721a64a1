#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>

#include "testsupport/scratchfolder.h"
#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using I = LX_WordInspector;
namespace fs = std::filesystem;

const char* const kindDirectories[] = {"", "wav/right", "wav/center", "mp3/right", "mp3/center"};
const char* const kindExtensions[] = {"", "wav", "wav", "mp3", "mp3"};

// A media directory of its own, holding the recordings a test puts there.
class WordChecks : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedDirectory = mediaDirectory;
        setMediaDirectory(toWide(m_scratch.ansiPath() + "/"));
    }
    void TearDown() override {
        setMediaDirectory(m_savedDirectory);
    }

    fs::path recording(const char* language, const char* name, int kind) const {
        return m_root / language / kindDirectories[kind] /
               (std::string(name) + "." + kindExtensions[kind]);
    }
    void record(const char* language, const char* name, int kind) {
        const fs::path file = recording(language, name, kind);
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "data";
    }
    void recordAll(const char* language, const char* name) {
        for (int kind = 1; kind <= 4; ++kind) {
            record(language, name, kind);
        }
    }

    static LX_Word haus() {
        LX_Word word;
        word.setWord(L"Haus");
        word.setAudioName(2, L"w1a");
        return word;
    }
    // Both languages' recordings named.
    static LX_Word hausAndHouse() {
        LX_Word word = haus();
        word.setWord(1, L"house");
        word.setAudioName(1, L"e2a");
        return word;
    }
    static std::vector<int> states(const LX_Word& word) {
        return {word.getAudioState(1), word.getAudioState(2), word.getAudioState(3),
                word.getAudioState(4)};
    }

    testsupport::ScratchFolder m_scratch{"quill-checks-"};
    const fs::path& m_root = m_scratch.path();
    std::wstring m_savedDirectory;
};

TEST_F(WordChecks, StatesFromTheRecordingsOnDisk) {
    recordAll("de_de", "w1a");
    record("en_uk", "e2a", 3);

    LX_Word alone = haus();  // no translation
    alone.setState();
    EXPECT_EQ(states(alone), (std::vector<int>{2, 2, 2, 2}));
    EXPECT_TRUE(I::audioFileFound(alone, 1));
    alone.errorCheck();
    EXPECT_TRUE(I::hasError(alone));

    LX_Word unnamed;
    unnamed.setWord(L"Haus");
    unnamed.setWord(1, L"house");
    unnamed.setAudioName(1, L"e2a");
    unnamed.setState();
    EXPECT_EQ(states(unnamed), (std::vector<int>{1, 1, 3, 1}));
    EXPECT_FALSE(I::audioFileFound(unnamed, 3));
}

TEST_F(WordChecks, CleanWordAndRecordedStates) {
    recordAll("de_de", "w1a");
    recordAll("en_uk", "e2a");
    LX_Word word = hausAndHouse();
    word.errorCheck();
    EXPECT_FALSE(I::hasError(word));

    // Known states are trusted: no file is looked for.
    fs::remove_all(m_root / "de_de");
    for (int kind = 1; kind <= 4; ++kind) {
        I::setAudioState(word, kind, 4);
    }
    word.errorCheck();
    EXPECT_FALSE(I::hasError(word));
    I::setAudioState(word, 2, 3);
    word.errorCheck();
    EXPECT_TRUE(I::hasError(word));
}

TEST_F(WordChecks, TraceLines) {
    LX_Word word;
    word.setWord(L"Fuß");
    WordLogCapture log(11);
    word.setState();
    const std::string kind = "LX_Word::setState 010\nLX_Word::setState 020\n"
                             "LX_Word::setState 050\nLX_Word::setState 060\n";
    EXPECT_EQ(log.take(), "LX_Word::setState 000: Fu\xDF\n" + kind + kind + kind + kind +
                              "LX_Word::setState 999\n");
    word.errorCheck();
    EXPECT_EQ(log.take(),
              "LX_Word::errorCheck 000: Fu\xDF\nLX_Word::errorCheck 010\n"
              "LX_Word::errorCheck 020\nLX_Word::errorCheck 100\nLX_Word::errorCheck 110\n"
              "LX_Word::errorCheck 200\nLX_Word::errorCheck 210\n"
              "LX_Word::errorCheck 999: Fu\xDF\n");
}

TEST_F(WordChecks, KindArticleAndPhonemeLines) {
    const std::string prefix = "[  12] :                     Haus, de_de   :   ";
    const struct {
        bool isName;
        std::vector<int> kinds;
        const wchar_t* article;
        const wchar_t* translationArticle;
        const wchar_t* phonemes;
        std::string lines;
        std::set<int> codes;
    } cases[] = {
        {false, {1, 12}, L"", L"", L"", "ERROR: " + prefix + " is substantiv and Eigenname\n",
         {25}},
        {true, {1}, L"", L"", L"",
         "ERROR: " + prefix + " is name but has wrong word kind\nERROR: " + prefix +
             " is substantiv without article\n",
         {3, 22, 25}},
        {false, {2}, L"das", L"the", L"",
         "ERROR: [  12] : das                 Haus, de_de   :    has article but is no "
         "substantiv\n",
         {3, 25}},
        {false, {1}, L"das", L"", L"",
         "ERROR: [  12] : das                 Haus, de_de   :    has article and translation "
         "\"house\" has no article\n",
         {3, 32}},
        {false, {}, L"", L"", L"h-a-u",
         "ERROR: " + prefix + " size of phonemList and graphemPhonemList differs: 4 <-> 3 "
                              "(H-A-U-S <-> h-a-u)\n",
         {}},
        {false, {}, L"", L"", L"h-a--u-s", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        LX_Word word;
        I::setWordNumber(word, 12);
        word.setWord(L"Haus");
        word.setWord(1, L"house");
        word.setIsName(c.isName);
        word.setWordKinds(c.kinds);
        word.setArticle(2, c.article);
        word.setArticle(1, c.translationArticle);
        word.setPhonemList(c.phonemes);
        word.buildGraphemPhonemList();
        WordLogCapture log;
        word.errorCheck();
        EXPECT_EQ(log.take(), c.lines);
        EXPECT_EQ(I::checkCodes(word), c.codes);
    }
}

// Whatever passes the access test for reading is present, and nothing is
// opened: a directory stands for kind 1 and a named pipe, which no one will
// ever write to, for kind 2.
TEST_F(WordChecks, PresentWhenThePathPassesTheAccessTest) {
    recordAll("de_de", "w1a");
    recordAll("en_uk", "e2a");
    fs::remove(recording("de_de", "w1a", 1));
    fs::create_directory(recording("de_de", "w1a", 1));
#ifndef _WIN32  // Windows has no named pipes in its folders.
    fs::remove(recording("de_de", "w1a", 2));
    ASSERT_EQ(mkfifo(recording("de_de", "w1a", 2).c_str(), 0600), 0);
#endif
    LX_Word stated = hausAndHouse();
    LX_Word checked = stated;
    stated.setState();
    checked.errorCheck();
    EXPECT_EQ(states(stated), (std::vector<int>{4, 4, 4, 4}));
    EXPECT_FALSE(I::hasError(checked));
}

// A reset record has no language, the audio library's record no second one.
TEST_F(WordChecks, LanguagesWithoutSlots) {
    recordAll("de_de", "w1a");
    LX_Word played(2, 0);
    played.setWord(L"Haus");
    played.setAudioName(2, L"w1a");
    played.setState();
    EXPECT_EQ(states(played), (std::vector<int>{2, 2, 2, 2}));

    LX_Word reset = haus();
    reset.reset();
    reset.setState();
    EXPECT_EQ(states(reset), (std::vector<int>{1, 1, 1, 1}));
    WordLogCapture log;
    reset.setIsName(true);
    reset.addWordKind(1);
    reset.errorCheck();
    EXPECT_TRUE(I::hasError(reset));
    EXPECT_EQ(log.take(), "");
}

TEST(WordMemberships, OnlyQLY) {
    const std::pair<std::set<std::wstring>, bool> cases[] = {
        {{L"QLYde"}, true}, {{L"QLYen"}, true}, {{L"QLYpl"}, false}, {{L"QLYde", L"KR"}, false}};
    for (const auto& [tokens, only] : cases) {
        LX_Word word;
        I::memberships(word) = tokens;
        EXPECT_EQ(word.hasOnlyQLYMembership(), only);
    }
}

}  // namespace
