#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#ifndef _WIN32
#include "testsupport/programs.h"
#endif
#include "common/textconv.h"
#include "platform/win32.h"
#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using I = LX_WordInspector;
namespace fs = std::filesystem;

std::wstring padded(const std::wstring& text, std::size_t width) {
    return text.size() < width ? std::wstring(width - text.size(), L' ') + text : text;
}

// The line a dump should give: each field right-aligned in its width (0:
// none), followed by what comes after it.
struct Field {
    std::wstring text;
    std::size_t width;
    const wchar_t* then;
};

std::wstring line(const std::vector<Field>& fields) {
    std::wstring text;
    for (const Field& f : fields) {
        text += padded(f.text, f.width) + f.then;
    }
    return text;
}

TEST(WordDump, FullRecordFieldByField) {
    LX_Word word;
    I::fillAll(word, L"Schule");
    const std::wstring expected = line({
        {L"7", 4, L" : "},  {L"42", 4, L" : "}, {L"der", 4, L", "},
        {L"Schule1", 20, L", "}, {L"wSchule1", 8, L", "}, {L"2", 2, L" : "},
        {L"1001", 5, L" , "}, {L"3", 2, L" : "}, {L"altSchule1", 8, L": "},
        {L"Schu-le", 20, L": "}, {L"X", 0, L": "}, {L"Schu-le", 20, L": "},
        {L"[sch]ule", 20, L": "}, {L"X", 0, L": "}, {L"[sch]ule", 20, L": "},
        {L"[sch]ule", 20, L": "}, {L"sch u", 40, L": "}, {L"sch-u-l-e", 30, L": "},
        {L"7", 2, L": "}, {L"2", 2, L": "}, {L"8", 2, L": "},
        {L"N", 0, L", "}, {L"S", 0, L" : "}, {L"W", 0, L" : "},
        {L"1, 3", 8, L" : "}, {L"Y", 0, L" : "},
        {L"B0T0", 0, L", "}, {L"B1T0", 0, L", "}, {L"B0T1", 0, L", "}, {L" OK ", 0, L", "},
        {L"Dbl_WIA", 0, L", "}, {L"der", 4, L", "}, {L"Schule0", 20, L", "},
        {L"wSchule0", 8, L","}, {L"1", 2, L" : "},
        {L"QL,KR,MOB,DiF,", 0, L"\t:"}, {L" DE 01, QLYde,", 0, L"\t:"},
        {L"Schule", 0, L" : "}, {L"Mitlautverdopplung", 0, L" : "},
        {L" de,1,5", 0, L"\t:"},
    });
    EXPECT_EQ(word.toString(), expected);

    // References that start in another language get a blank entry first.
    word.getReferences().insert(word.getReferences().begin(), WordReference{1, 2, 3});
    I::setAudioState(word, 1, 9);
    word.raiseDoubleKind(7);
    const std::wstring text = word.toString();
    EXPECT_NE(text.find(L"????, B1T0"), std::wstring::npos);
    EXPECT_NE(text.find(L"???????, "), std::wstring::npos);
    EXPECT_EQ(text.substr(text.find(L"Mitlaut")),
              L"Mitlautverdopplung :    , , \t: en,2,3\t: de,1,5\t:");
}

// A reset record has language 0: every per-language field reads as empty.
TEST(WordDump, ResetRecord) {
    LX_Word word;
    I::fillAll(word, L"Schule");
    word.reset();
    const std::wstring text = word.toString();
    EXPECT_EQ(text.rfind(L"  -1 :   -1 :     ,                     ,         , -1 :    -1 , -1 :", 0),
              0u);
    EXPECT_NE(text.find(L" N :     ,     ,     ,     ,        ,     ,   "), std::wstring::npos);
    const std::wstring end = L",-1 :   ,  ,   ,   ,\t:\t: :  : ";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    std::ostringstream narrowOut;
    word.print(narrowOut);
    EXPECT_EQ(narrowOut.str(), toNarrow(text, CP_ACP) + "\n");
    std::wostringstream wideOut;
    word.print(wideOut);
    EXPECT_EQ(wideOut.str(), text + L"\n");
}

// German, English and Polish words; the Polish one has letters the code page
// lacks, and a second language of 0, which reads as an empty one.
TEST(WordTableLine, GermanEnglishAndPolishWords) {
    LX_Word german;
    I::setWordNumber(german, 17);
    german.setArticle(2, L"die");
    german.setWord(L"Straße");
    german.setAudioName(2, L"w1234a");
    german.setPerLanguageNumber(2, 3);
    german.setWord(1, L"street");
    LX_Word english(1, 2);
    english.setArticle(1, L"the");
    english.setWord(L"road");
    LX_Word polish(3, 0);
    polish.setWord(L"żółw łódź");
    const std::string narrowPolish = toNarrow(L"żółw łódź", CP_ACP);
    const std::pair<const LX_Word*, std::string> cases[] = {
        {&german, ":   17 :     :  die,               Stra\xDF" "e,   w1234a,  3 :     ,"
                  "               street,         , -1 :\n"},
        {&english, ":   -1 :     :  the,                 road,         , -1 :     ,"
                   "                     ,         , -1 :\n"},
        {&polish, ":   -1 :     :     , " + std::string(20 - narrowPolish.size(), ' ') +
                      narrowPolish + ",         , -1 :     ,                     ,         , -1 :\n"},
    };
    for (const auto& [word, expected] : cases) {
        std::FILE* file = std::tmpfile();
        word->printTableLine(file);
        std::rewind(file);
        char buffer[512] = "";
        EXPECT_EQ(std::string(buffer, std::fread(buffer, 1, sizeof buffer, file)), expected);
        std::fclose(file);
    }
}

// Header and script lines of a few words, compiled by GNU windres into a
// recording library that our own loader then reads.
TEST(WordResourceEntries, BuildARecordingLibrary) {
    const testsupport::ScratchFolder scratch("quill-resentry-");
    const fs::path& root = scratch.path();
    const fs::path work = root / "build" / "res";
    const fs::path recordings = root / "media" / "de_de" / "mp3";
    fs::create_directories(work);
    fs::create_directories(recordings);

    std::vector<LX_Word> words(3);
    words[0].setWord(L"Haus");
    words[0].setAudioName(2, L"w1234a");
    words[1].setWord(L"Maus");
    words[1].setAudioName(2, L"w1235b");
    words[2] = words[0];  // the same recording a second time
    LX_Word silent;
    silent.setWord(L"leer");
    words.push_back(silent);

    std::FILE* header = std::fopen((work / "ids.h").string().c_str(), "w");
    std::FILE* script = std::fopen((work / "lines.rc").string().c_str(), "w");
    std::set<std::string> headerNames;
    std::set<std::string> scriptNames;
    for (const LX_Word& word : words) {
        word.writeResourceEntry(header, script, headerNames, scriptNames, "MP3", "mp3", "mp3");
    }
    std::fclose(header);
    std::fclose(script);
    EXPECT_EQ(testsupport::readFile(work / "ids.h"),
              testsupport::textModeBytes("#define IDW_W1234A       1702\n"
                                         "#define IDW_W1235B       1706\n"));
    EXPECT_EQ(testsupport::readFile(work / "lines.rc"),
              testsupport::textModeBytes(
                  "IDW_W1234A           MP3       \"../../media/de_de/mp3/W1234A.mp3\"\n"
                  "IDW_W1235B           MP3       \"../../media/de_de/mp3/W1235B.mp3\"\n"));

#ifndef _WIN32
    // The GNU resource tools are programs of the build machine, which a
    // Windows test program cannot start.
    std::ofstream(recordings / "W1234A.mp3", std::ios::binary) << "first recording";
    std::ofstream(recordings / "W1235B.mp3", std::ios::binary) << "second";
    std::ofstream(work / "res.rc") << "#include \"ids.h\"\n#include \"lines.rc\"\n";
    // In the folder, so that the script's relative paths hold.
    ASSERT_EQ(testsupport::runProgram({"i686-w64-mingw32-windres", "--preprocessor=cpp", "-J", "rc",
                                       "-O", "coff", "res.rc", "-o", "res.o"},
                                      work.string()),
              0);
    ASSERT_EQ(testsupport::runProgram(
                  {"i686-w64-mingw32-ld", "--dll", "-e", "0", "-s", "-o", "res.dll", "res.o"},
                  work.string()),
              0);

    HMODULE module = LoadLibraryA(scratch.ansiPath("build/res/res.dll").c_str());
    ASSERT_NE(module, nullptr);
    const struct {
        int id;
        std::string content;
    } expected[] = {{1702, "first recording"}, {1706, "second"}};
    for (const auto& e : expected) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(e.id), "MP3");
        ASSERT_NE(found, nullptr) << e.id;
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        EXPECT_EQ(std::string(data, SizeofResource(module, found)), e.content);
    }
    FreeLibrary(module);
#endif

}

TEST(WordResourceEntries, LanguageWithoutRecordingsWritesNone) {
    LX_Word word;
    I::fillAll(word, L"x");  // recording names in every slot
    I::setLanguage(word, 4);
    std::FILE* script = std::tmpfile();
    std::set<std::string> names;
    std::set<std::string> scriptNames;
    word.writeResourceEntry(script, script, names, scriptNames, "T", "d", "e");
    std::rewind(script);
    char buffer[256] = "";
    EXPECT_NE(std::fgets(buffer, sizeof buffer, script), nullptr);
    EXPECT_NE(std::fgets(buffer, sizeof buffer, script), nullptr);
    std::fclose(script);
    EXPECT_STREQ(buffer, "IDW_WX3              T       \"../../media/none/d/WX3.e\"\n");
}

TEST(WordPostProcess, GermanRecord) {
    LX_Word word;
    word.setWord(L"Schule");
    word.setArticle(2, L"die");
    word.setIsName(true);
    word.addReference({1, 1, 1});
    word.addReference({2, 1, 1});
    EXPECT_TRUE(word.postProcess(L"Schulwörter"));
    EXPECT_EQ(word.getGraphemPhonemList(false), (std::vector<std::wstring>{L"SCH", L"U", L"L", L"E"}));
    EXPECT_EQ(word.getDifficulty(), 8);
    EXPECT_EQ(word.getWordGroups(), std::vector<std::wstring>{L"Schulwörter"});
    EXPECT_EQ(word.getWordKinds(), (std::vector<int>{1, 12}));
    EXPECT_EQ(word.getReferences(), (std::vector<WordReference>{{2, 1, 1}, {1, 1, 1}}));

    word.setGraphemPhonemList({L"X"});
    word.postProcess(L"");
    EXPECT_EQ(word.getGraphemPhonemList(false), std::vector<std::wstring>{L"X"});
}

TEST(WordPostProcess, EnglishAndOtherRecords) {
    LX_Word english(1, 2);
    english.setWord(L"school");
    english.setArticle(1, L"the");
    english.postProcess(L"Group");
    EXPECT_TRUE(english.getWordGroups().empty());
    EXPECT_TRUE(english.getGraphemPhonemList(false).empty());
    EXPECT_EQ(english.getWordKinds(), std::vector<int>{1});

    LX_Word polish(3, 2);
    polish.setWord(L"szko-ła");
    WordLogCapture log;
    polish.postProcess(L"");
    EXPECT_EQ(log.take(), "");
    polish.setQLFlag(true);
    polish.postProcess(L"Group");
    EXPECT_FALSE(polish.getQLFlag());
    // 'ł' in the code page's best fit, on Windows as well, whose runtime
    // would drop a line that formats it with "%ls".
    EXPECT_EQ(log.take(),
              "\nLX_Word::postProcess 100 :    szko-la contains '-' do not use it in Quillory\n");
}

TEST(WordOrdering, ByTextThenArticle) {
    LX_Word a;
    a.setWord(L"See");
    a.setArticle(2, L"die");
    LX_Word b = a;
    b.setArticle(2, L"der");
    EXPECT_EQ(compareWordText(a, b), 0);
    EXPECT_GT(compareWords(a, b), 0);
    LX_Word reset;  // language 0 compares by the empty text
    reset.reset();
    EXPECT_LT(compareWordText(reset, a), 0);

    a.raiseDoubleKind(3);
    a.raiseDoubleKind(1);
    EXPECT_EQ(a.getDoubleKind(), 3);
}

}  // namespace
