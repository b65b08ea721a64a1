// LX_Word: one word with its texts in up to four languages and everything
// the word model knows about it.
//
// A plain value: built on the stack or in a container, copied member by
// member (related words deep), destroyed with its owner. A new record holds
// what reset() leaves; reset leaves the alternative recording names, the
// auxiliary texts and the check codes as they are, so those survive for the
// record's whole life. A record is used by one thread at a time.
//
// Per-language arrays have four slots, indexed by LanguageId - 1; per-audio-
// kind arrays five, indexed by the audio kind (slot 0 unused); per-variant
// arrays two (variant 0 or 1). A language outside 1 to 4 names no slot: a
// getter then answers the empty text or -1 and a setter does nothing, so no
// accessor ever reaches outside the record.
//
// The operations are spread over several files by concern; each section
// below names its file.
#pragma once

#include <cstdio>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "wordmodel/library.h"
#include "wordmodel/wordreference.h"

// A grammatical word kind: 1 Substantiv, 2 Verb, 3 Adjektiv, 4 Adverb,
// 5 Konjunktion, 6 Präposition, 7 Numeral, 8 Pronomen, 9 Artikel,
// 10 Interjektion, 11 Partikel, 12 Eigenname, 20 Sinnfrei, 21 Alphabet.
using WordKind = int;
constexpr WordKind wordKindNoun = 1;
constexpr WordKind wordKindProperName = 12;

class LX_Word {
public:
    // --- Life cycle and plain accessors (word.cpp) ---

    // German ("de_de") with English as second language.
    LX_Word();
    LX_Word(LanguageId language, LanguageId secondLanguage);
    // Member by member in declaration order, related words deep.
    LX_Word(const LX_Word& other) = default;
    LX_Word& operator=(const LX_Word& other) = default;
    ~LX_Word() = default;

    void reset();

    void setWord(LanguageId language, std::wstring text);
    void setWord(std::wstring text);
    const std::wstring& getWord(LanguageId language) const;
    const std::wstring& getWord() const;
    int getWordLength() const;
    const std::wstring& getArticle(LanguageId language) const;
    const std::wstring& getAudioName(LanguageId language) const;
    const std::wstring& getAudioName() const;
    const std::wstring& getAltAudioName(LanguageId language) const;
    void setAltAudioName(LanguageId language, const std::wstring& name);
    const std::wstring& getAuxText(LanguageId language) const;
    void setAuxText(LanguageId language, const std::wstring& text);
    LanguageId getLanguage() const;
    bool isName() const;
    void setIsName(bool value);
    int getNbSyllables() const;
    int getDifficulty() const;
    int getPerLanguageNumber(LanguageId language) const;
    void setPerLanguageNumber(LanguageId language, int number);
    int getResourceId(LanguageId language) const;
    int getResourceId() const;
    int getDllIndex(LanguageId language) const;
    int getWordNumber() const;
    void addCheckCode(int code);
    bool hasMembership(const std::wstring& token) const;
    std::set<std::wstring> getMemberships() const;
    void setQLFlag(bool value);
    bool getQLFlag() const;

    // --- Syllables and difficulty (syllables.cpp) ---

    int countSyllables();
    // Rates the word (German only; 0 otherwise) and counts its syllables.
    void calcDifficulty();
    void setDifficulty(int level);
    // Per-record counters by level; they grow on demand.
    int getLevelCount(unsigned level) const;
    int incrementLevelCount(unsigned level);
    void decrementLevelCount(unsigned level);
    void clearLevelCount(unsigned level);

    // --- Recording coordinates (recording.cpp) ---
    // Only languages 1 to 3 have recordings: any other is refused with an
    // "ERROR: " line on standard output, answers -1, the empty text or null
    // and changes nothing.

    // The final character of the recording name: "a" 0, "b" 1, "c" 2 (either
    // case), a digit 1 (as "b"), anything else 0; 0 for no name.
    int getAudioVariant(LanguageId language) const;
    // The decimal number after the name's first character, without a final
    // non-digit; -1 for no name. Only the first 1023 characters before a final
    // letter are read.
    int getAudioNumber(LanguageId language) const;
    // Stores a non-empty name and derives its library number (from 1) and
    // resource id; an empty name changes nothing.
    void setAudioName(LanguageId language, const std::wstring& name);
    // The file of the library that holds the recording, for the configured
    // audio kind.
    std::string getResourceDllName(LanguageId language) const;
    // The loose recording file: mediaDirectory + "de_de\mp3\center\w1234a.mp3".
    std::string getAudioFilePath(LanguageId language, AudioKind kind) const;
    // The loaded library that holds the recording of the current language,
    // for loading the recording from it; null when it cannot be had.
    HMODULE getResourceModule() const;
    // Checks that library ixDll of language holds wordLanguage's recording
    // as a "WAVE" resource; when it does not, sets hasError and logs why,
    // followed by text. A library that cannot be loaded is reported by the
    // loading alone.
    void findWaveResource(LanguageId language, int ixDll, const std::wstring& text,
                          LanguageId wordLanguage);

    // --- Tagged word, hyphenation and marked phones (taggedword.cpp) ---
    // Two variants of each text: 0 (QL) and 1 (Alt); any other variant names
    // none, reads as the empty text and is not stored. A hyphenation or
    // marked phones are kept only when, without "[", "]" and "-", they spell
    // the word text of the current language; otherwise an "ERROR: " line goes
    // to the log and the stored text stays. verbose writes trace lines at
    // level 1.

    // Stores the text as given (unless empty) and derives hyphenation and
    // marked phones from it.
    void setTaggedWord(const std::wstring& text, int variant, bool verbose);
    void setTaggedWordQL(const std::wstring& text, bool verbose);
    void setTaggedWordAlt(const std::wstring& text);
    std::wstring getTaggedWord(int variant) const;
    std::wstring getTaggedWordQL() const;
    std::wstring getTaggedWordAlt() const;
    // Rebuilds the tagged word of the variant from its hyphenation and marked
    // phones; where both mark a place, the hyphen comes first ("Ki[s-]te").
    std::wstring mergeTaggedWord(int variant);
    std::wstring mergeTaggedWordQL();
    std::wstring mergeTaggedWordAlt();
    // Variant 0 also re-rates the word, accepted or not.
    void setHyphenationIntern(const std::wstring& text, int variant, bool verbose);
    void setHyphenation(const std::wstring& text, int variant);
    void setHyphenationQL(const std::wstring& text);
    void setHyphenationAlt(const std::wstring& text);
    const std::wstring& getHyphenation(int variant) const;
    const std::wstring& getHyphenationQL() const;
    const std::wstring& getHyphenationAlt() const;
    void setMarkedPhonesIntern(const std::wstring& text, int variant, bool verbose);
    void setMarkedPhones(const std::wstring& text, int variant);
    void setMarkedPhonesQL(const std::wstring& text);
    void setMarkedPhonesAlt(const std::wstring& text);
    const std::wstring& getMarkedPhones(int variant) const;
    const std::wstring& getMarkedPhonesQL() const;
    const std::wstring& getMarkedPhonesAlt() const;
    // Moves a mark from the first to the second of two equal lower-case
    // letters ("Bet[t]t" to "Bett[t]") and collapses runs of brackets.
    void repairMarkedPhones(int variant);
    void repairMarkedPhonesQL();
    void repairMarkedPhonesAlt();
    // Setting a flag also records its check codes; flags never fall back
    // except by reset.
    void setHyphenationsDiffer(bool differ);
    bool hyphenationsDiffer() const;
    void setMarkedPhonesDiffer(bool differ);
    bool markedPhonesDiffer() const;
    void setPhonemList(const std::wstring& phonemes);
    const std::wstring& getPhonemList() const;

    // --- Word kinds and articles (wordkinds.cpp) ---
    // Word kinds are WordKind codes, kept ascending without duplicates.
    // Articles allowed: "the" and "the_" in English, "der", "die", "das" in
    // German, none in Polish; language 4 is not checked.

    // Stores the article whatever the check finds; a disallowed one is logged.
    // A language outside 1 to 4 stores nothing.
    void setArticle(LanguageId language, const std::wstring& article);
    // By the German or Polish name in the current language; other languages
    // ignore it. An unknown name is reported on standard output and in the log.
    void setWordKind(const std::wstring& name);
    void setWordKindDE(const std::wstring& name);
    void setWordKindPL(const std::wstring& name);
    bool hasWordKind(WordKind code) const;
    void addWordKind(WordKind code);
    void setWordKinds(std::vector<WordKind> codes);
    void addWordKinds(std::vector<WordKind> codes);
    std::vector<WordKind> getWordKinds() const;
    std::wstring wordKindsText(const std::wstring& separator) const;
    // Items split at any delimiter and trimmed: one that starts with a digit
    // is a code, any other a name.
    void addWordKindsFromText(const std::wstring& text, const std::wstring& delimiters);
    // Whether the word itself, in the current language, is an article of the
    // given language.
    bool isArticle(LanguageId language) const;
    bool isArticle() const;

    // --- Word groups and grapheme-phoneme list (wordgroups.cpp) ---
    // Group names are kept in lessByUtf16 order without duplicates, and each
    // new one also goes into the process-wide registry. The grapheme-phoneme
    // list stores umlauts as "A2", "O2", "U2"; the readable form shows them as
    // letters.

    // An empty name is ignored; "Alpha+Allgemeine Wörter" is logged and kept.
    void addWordGroup(const std::wstring& name);
    void addWordGroups(const std::vector<std::wstring>& names);
    std::vector<std::wstring> getWordGroups() const;
    std::wstring wordGroupsText(const std::wstring& separator) const;
    void addSpellingGroup(const std::wstring& name);
    void addSpellingGroups(const std::vector<std::wstring>& names);
    std::vector<std::wstring> getSpellingGroups() const;
    std::wstring spellingGroupsText(const std::wstring& separator) const;
    // Adds the German spelling groups the letters call for; false (and
    // nothing added) when the current language is not German.
    bool findWordGroups();
    // Cuts the word text of the current language into units: "SCH", "CH",
    // "C(Z)", "V(F)", "Y(Ü)", "A2", "O2", "U2", "S" for "ß", otherwise each
    // character upper-cased.
    void buildGraphemPhonemList();
    std::vector<std::wstring> getGraphemPhonemList(bool readable) const;
    std::wstring graphemPhonemText(const std::wstring& separator, bool readable) const;
    // Stores the list with its umlaut letters as codes.
    void setGraphemPhonemList(const std::vector<std::wstring>& list);

    // --- Post-processing, ordering and text output (wordoutput.cpp) ---

    // Completes a loaded record: sorted references and groups, and for
    // German the grapheme-phoneme list, the rating and the group given.
    // Always true.
    bool postProcess(const std::wstring& wordGroup);
    // One line of a word list file.
    void printTableLine(std::FILE* file) const;
    // The word's "#define IDW_<NAME> <id>" header line and its resource
    // script line, each written once per name set; nothing without a
    // recording name.
    void writeResourceEntry(std::FILE* header, std::FILE* script,
                            std::set<std::string>& headerNames,
                            std::set<std::string>& scriptNames, const std::string& type,
                            const std::string& subDirectory, const std::string& extension) const;
    // Nearly every member on one line, in fixed-width columns. Throws what
    // mergeMarkedPhones throws for marked phones that do not fit the word.
    std::wstring toString() const;
    void print(std::ostream& out) const;
    void print(std::wostream& out) const;
    // AudioState of an audio kind 1 to 4; 0 for any other kind.
    int getAudioState(AudioKind kind) const;
    int getDoubleKind() const;
    // Keeps the highest class given.
    void raiseDoubleKind(int doubleKind);
    bool getFlagY() const;

    // --- Audio state and consistency checks (wordchecks.cpp) ---

    // Records for each audio kind whether the recording files of the current
    // and of the second language can be read.
    void setState();
    // Marks a faulty word (missing recordings, names, references), records
    // check codes and logs an "ERROR: " line for each inconsistency of word
    // kinds, articles and phonemes. Kinds whose audio state is already known
    // are not tested on disk again.
    void errorCheck();
    // Exactly one membership, and that one "QLYde" or "QLYen".
    bool hasOnlyQLYMembership() const;

    // --- Merging and the sharp-s rewrite (wordmerge.cpp) ---

    // Gathers what the other record knows of references, memberships, check
    // codes, groups, tagged words and phonemes, and sets flagQL. Always true.
    bool mergeFrom(const LX_Word& other);
    // Completes the record from the other one: what it lacks is taken over,
    // flags are or-ed; with overwrite, the name and S, W flags, the error
    // flag and both numbers are copied as they are. With checkIdentity, false
    // (and nothing changed) unless both have the same languages and the same
    // word and article in the current language.
    bool assignFrom(const LX_Word& other, bool overwrite, bool checkIdentity);
    // Rewrites "ß" as "ss" in the German text, variant 0 of hyphenation and
    // marked phones, the grapheme-phoneme list and the group names, and adds
    // the spelling group "s oder ss?". Refused, with an "ERROR: " line, when
    // hyphenation or marked phones would no longer spell the word.
    void changeSZ2SS();

    // --- Reference lists (references.cpp) ---

    // Each list: the entries of the current language, then those of the
    // second, each ordered by lessByReference; entries of other languages
    // are dropped.
    void sortReferences();
    // The entries of language a, then those of b (once when a equals b).
    static std::vector<WordReference>& sortReferenceList(std::vector<WordReference>& list,
                                                         LanguageId a, LanguageId b);
    // Append unless an equal reference is already there.
    void addReference(const WordReference& reference);
    void addSecondReference(const WordReference& reference);
    std::vector<WordReference>& getReferences();
    std::vector<WordReference>& getSecondReferences();
    // More than one entry of the current language (with a value below 99).
    bool hasMultipleFirstReferences() const;
    bool hasMultipleLowFirstReferences() const;
    bool hasMultipleSecondReferences() const;

private:
    friend class LX_WordInspector;  // lets tests look at every member

    // Slot of a language in the per-language arrays; -1 when it names none.
    static int languageSlot(LanguageId language);

    int measureSyllables(std::wstring& lowered);
    // How many characters of text the grapheme unit at `at` takes; the unit
    // goes to `unit` when given.
    static std::size_t graphemUnitAt(const std::wstring& text, std::size_t at,
                                     std::wstring* unit);
    // The content check of a hyphenation or marked phones: without its
    // brackets and hyphens the text is the word.
    bool spellsWord(const std::wstring& text, bool verbose) const;
    void testVariantsDiffer(bool hyphenations, bool markedPhones);

    // Every initialiser below is the value reset() gives: a record is born
    // reset.
    std::wstring m_wordText[languageSlotCount];
    std::wstring m_article[languageSlotCount];
    std::vector<LX_Word> m_relatedWords;
    std::wstring m_audioName[languageSlotCount];
    std::wstring m_altAudioName[languageSlotCount];
    // A free text per language that rides along with the record: set through
    // setAuxText, taken over by assignFrom where the record has none, kept by
    // reset; nothing in the word model reads it.
    std::wstring m_auxText[languageSlotCount];
    LanguageId m_language = 0;
    LanguageId m_secondLanguage = 0;
    bool m_isName = false;
    // S: the record counts as faulty in errorCheck, as a name does; shown as
    // "S" by toString. Only assignFrom brings it, copied or or-ed.
    bool m_flagS = false;
    // W: brought by assignFrom as S is and shown as "W" by toString; nothing
    // else reads it.
    bool m_flagW = false;
    std::vector<std::wstring> m_graphemPhonemList;
    std::vector<std::wstring> m_wordGroups;
    std::vector<std::wstring> m_spellingGroups;
    std::vector<int> m_wordKinds;
    int m_difficulty = 0;
    std::vector<int> m_levelCounts;
    int m_nbSyllables = 0;
    // Y: or-ed in by mergeFrom and assignFrom; read through getFlagY and
    // shown by toString as "Y" or "N".
    bool m_flagY = false;
    std::wstring m_taggedWord[2];
    std::wstring m_hyphenation[2];
    std::wstring m_markedPhones[2];
    bool m_hyphenationsDiffer = false;
    bool m_markedPhonesDiffer = false;
    std::wstring m_phonemList;
    int m_perLanguageNumber[languageSlotCount] = {-1, -1, -1, -1};
    int m_dllIndex[languageSlotCount] = {-1, -1, -1, -1};
    int m_resourceId[languageSlotCount] = {-1, -1, -1, -1};
    int m_audioState[5] = {};
    int m_doubleKind = 0;
    bool m_hasError = false;
    bool m_audioFileFound[5] = {};
    // A number that rides along with the record, -1 for none: assignFrom
    // copies it or takes it over where the record has none; toString shows
    // it in its first column.
    int m_auxNumber = -1;
    int m_wordNumber = -1;
    // Or-ed in by assignFrom; nothing in the word model reads it.
    bool m_auxFlag = false;
    std::set<int> m_checkCodes;
    std::vector<WordReference> m_firstReferences;
    std::vector<WordReference> m_secondReferences;
    std::set<std::wstring> m_memberships;
    // KR: or-ed in by mergeFrom and assignFrom, shown as "KR," by toString;
    // nothing else reads it.
    bool m_flagKR = false;
    // QL: the word is for Quillory. Every mergeFrom sets it and assignFrom
    // or-s it in; postProcess clears it, with a log line, for a word with a
    // hyphen, which the program cannot use. Shown as "QL," by toString.
    bool m_flagQL = false;
    // MOB: or-ed in by mergeFrom and assignFrom, shown as "MOB," by toString;
    // nothing else reads it.
    bool m_flagMOB = false;
    // DiF: or-ed in by mergeFrom and assignFrom, shown as "DiF," by toString;
    // nothing else reads it.
    bool m_flagDiF = false;
};

// Orders records by their word texts, each in its own current language, in
// German phone-book order; compareWords then by their articles.
int compareWordText(const LX_Word& first, const LX_Word& second);
int compareWords(const LX_Word& first, const LX_Word& second);

// Orders wide texts by their UTF-16 code units, as wide strings compare on
// Windows, so that group names come in the same order whatever the width of
// wchar_t (wordgroups.cpp).
bool lessByUtf16(const std::wstring& first, const std::wstring& second);
