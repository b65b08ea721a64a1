#include "wordmodel/library.h"

#include <cstdio>
#include <iterator>

#include "wordmodel/graphemeindex.h"
#include "wordmodel/syllables.h"

GraphemeLevel::GraphemeLevel(const std::wstring& text) : grapheme(text), count(0) {}

bool wordLibraryInitialised = false;
AudioKind audioKind = 0;
std::wstring mediaDirectory;
std::wstring languageCodes[languageSlotCount];

std::wstring vowels;
std::wstring consonants;
std::vector<std::wstring> diphthongs;
std::wstring separators;

int MAXLEN = 0;
int MAXSYLL = 0;

std::vector<std::vector<GraphemeLevel>> GraphemeLevelTable;
std::set<std::wstring> wordGroupRegistry;
std::set<std::wstring> spellingGroupRegistry;
std::vector<std::vector<HMODULE>> resourceDllCache;

namespace {

struct BuiltInGrapheme {
    int level;
    const wchar_t* grapheme;
};

// Easiest first. "ss" stands in level 4 and again in level 10; rating looks
// at the highest level first, so the second one decides.
constexpr BuiltInGrapheme builtInLevels[] = {
    {1, L"a"},   {1, L"e"},   {1, L"s"},  {1, L"n"},   {1, L"f"},  {1, L"l"},  {1, L"o"},
    {1, L"d"},   {1, L"i"},   {1, L"b"},  {1, L"t"},   {1, L"u"},  {1, L"m"},  {1, L"p"},
    {1, L"h"},   {2, L"g"},   {3, L"r"},  {4, L"aa"},  {4, L"ee"}, {4, L"ss"}, {4, L"nn"},
    {4, L"ff"},  {4, L"ll"},  {4, L"dd"}, {5, L"oo"},  {5, L"bb"}, {5, L"tt"}, {5, L"ii"},
    {5, L"uu"},  {5, L"mm"},  {5, L"pp"}, {5, L"hh"},  {5, L"gg"}, {5, L"rr"}, {5, L"k"},
    {6, L"c"},   {6, L"j"},   {6, L"z"},  {6, L"q"},   {6, L"ck"}, {7, L"v"},  {7, L"ph"},
    {7, L"pf"},  {7, L"w"},   {7, L"ch"}, {8, L"sch"}, {8, L"eu"}, {8, L"ai"}, {8, L"ä"},
    {8, L"ö"},   {9, L"ü"},   {9, L"tz"}, {9, L"st"},  {9, L"sp"}, {9, L"äu"}, {10, L"ß"},
    {10, L"x"},  {10, L"y"},  {10, L"chs"}, {10, L"ss"},
};
static_assert(std::size(builtInLevels) == 60);

const std::wstring noLanguageCode;

}  // namespace

void initWordLibrary(AudioKind kind, const std::wstring& directory,
                     const std::wstring& /*configFileName*/) {
    if (wordLibraryInitialised) {
        return;
    }
    wordLibraryInitialised = true;
    std::printf("...init\n");
    // The JVM's own output is buffered separately; flush so the line is
    // not held back until the library is unloaded.
    std::fflush(stdout);

    setAudioKind(kind);
    setMediaDirectory(directory);

    languageCodes[1] = L"de_de";
    languageCodes[0] = L"en_uk";
    languageCodes[2] = L"pl_pl";

    diphthongs = {L"ei", L"eu", L"äu", L"au"};
    vowels = L"aeiouöäüy";
    consonants = L"bcdfgjklmnpqrstvwxzß";
    separators = L"\t .?!,:;\"§$%&/()={}[]*+'#_-|<>";

    GraphemeLevelTable.assign(graphemeLevelCount, {});
    MAXLEN = 12;
    MAXSYLL = 5;
    for (const BuiltInGrapheme& entry : builtInLevels) {
        GraphemeLevelTable[entry.level].emplace_back(entry.grapheme);
    }
    rebuildWordLookups();
}

void rebuildWordLookups() {
    buildLetterClasses();
    buildGraphemeIndex();
}

void setAudioKind(AudioKind kind) { audioKind = kind; }

void setMediaDirectory(const std::wstring& directory) { mediaDirectory = directory; }

const std::wstring& languageCode(LanguageId language) {
    if (language < 1 || language > languageSlotCount) {
        return noLanguageCode;
    }
    return languageCodes[language - 1];
}

std::vector<std::vector<GraphemeLevel>>& getGraphemeLevelTable() { return GraphemeLevelTable; }

std::set<std::wstring>& getWordGroupRegistry() { return wordGroupRegistry; }

std::set<std::wstring>& getSpellingGroupRegistry() { return spellingGroupRegistry; }
