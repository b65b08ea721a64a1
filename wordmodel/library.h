// The word library's process-wide settings and their one-time set-up.
//
// Every deliverable that links the word model holds its own copy of this
// state. It exists empty from the moment the library is loaded (strings and
// containers empty, integers 0); the first initWordLibrary of the process
// fills it and every later call returns at once. Afterwards only the group
// registries, the resource library cache and the counters of the level table
// change. Nothing here is locked: calls into one library must not overlap.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/win32.h"

// 1 "en_uk", 2 "de_de", 3 "pl_pl"; 4 names the spare fourth slot of the
// per-language arrays.
using LanguageId = int;
constexpr LanguageId languageEnglish = 1;
constexpr LanguageId languageGerman = 2;
constexpr LanguageId languagePolish = 3;
// 1 "wav\right", 2 "wav\center", 3 "mp3\right", 4 "mp3\center".
using AudioKind = int;

// Level at which the word model writes its trace lines.
constexpr int wordTraceLevel = 11;

// Number of languages a per-language array has room for.
constexpr int languageSlotCount = 4;
// Number of levels of the spelling-level table.
constexpr int graphemeLevelCount = 11;

// One entry of a spelling level: a lower-case letter or letter group and how
// often difficulty rating has settled on it in this process.
struct GraphemeLevel {
    explicit GraphemeLevel(const std::wstring& text);

    std::wstring grapheme;
    int count;
};

extern bool wordLibraryInitialised;
extern AudioKind audioKind;
extern std::wstring mediaDirectory;
// Index: language - 1.
extern std::wstring languageCodes[languageSlotCount];

// Letter classes, lower case; only membership matters. The letter h is in
// none of them, and neither are digits.
extern std::wstring vowels;
extern std::wstring consonants;
extern std::vector<std::wstring> diphthongs;
extern std::wstring separators;

extern int MAXLEN;
extern int MAXSYLL;

// Index: the level, 0 (easiest) to 10; within a level the order decides
// which entry's counter a rating increments.
extern std::vector<std::vector<GraphemeLevel>> GraphemeLevelTable;
extern std::set<std::wstring> wordGroupRegistry;
extern std::set<std::wstring> spellingGroupRegistry;
// Loaded recording resource libraries per language; filled by the loading of
// recordings, empty until then.
extern std::vector<std::vector<HMODULE>> resourceDllCache;

// Fills the settings on the first call of the process and prints "...init"
// on standard output; later calls change nothing and print nothing. Neither
// the audio kind nor the media directory is checked. No configuration file is
// read: the built-in letter classes and levels always apply, whatever name
// is given.
void initWordLibrary(AudioKind kind, const std::wstring& directory,
                     const std::wstring& configFileName);

// Builds the lookups that syllable counting and difficulty rating read
// instead of the letter classes and the level table; the first
// initWordLibrary calls it once it has filled them. The lookups reflect the
// tables as they were at that moment: the tables are fixed after set-up, and
// whoever changes one all the same must call this again before the next
// count. Until set-up the lookups answer as the empty tables do. Counting
// and rating only read the lookups, never build them; but a rating counts
// the grapheme it found in its entry of the level table, unlocked, so calls
// must not overlap, as the rule at the top says; the callers make one call
// at a time.
void rebuildWordLookups();

void setAudioKind(AudioKind kind);
void setMediaDirectory(const std::wstring& directory);
// The code of a language (1 to 4; 4 gives the empty text). A number outside
// 1 to 4 names no language and gives the empty text as well.
const std::wstring& languageCode(LanguageId language);

std::vector<std::vector<GraphemeLevel>>& getGraphemeLevelTable();
std::set<std::wstring>& getWordGroupRegistry();
std::set<std::wstring>& getSpellingGroupRegistry();
