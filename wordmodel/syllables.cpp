#include "wordmodel/syllables.h"

#include <array>
#include <bitset>
#include <cwchar>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/graphemeindex.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"

namespace {

// Character classes of the syllable count; the numbers appear in the trace.
enum LetterClass : unsigned char {
    otherClass = 0,
    vowelClass = 1,  // also an h that lengthens the vowel before it
    diphthongClass = 2,
    consonantClass = 3,  // also an h that does not
    separatorClass = 4,
    digitClass = 5,
    // Not a class: the h, which its neighbours decide.
    undecidedH = 6,
};

bool contains(const std::wstring& letters, wchar_t c) {
    return letters.find(c) != std::wstring::npos;
}

// The letter classes as lookup tables for the first 256 characters (every
// one a German word is made of); searching the class texts for every
// character costs more than the rest of the count. The library set-up fills
// them once the class texts are in place (rebuildWordLookups, library.h).
class LetterClasses {
public:
    // As the empty class texts answer: only digits and the h have a rule.
    constexpr LetterClasses() { clear(); }

    // Vowels first, then consonants, the h, separators and digits.
    unsigned char of(wchar_t c) const {
        if (isSmall(c)) {
            return table_[static_cast<std::size_t>(c)];
        }
        if (contains(vowels, c)) {
            return vowelClass;
        }
        if (contains(consonants, c)) {
            return consonantClass;
        }
        return contains(separators, c) ? separatorClass : otherClass;
    }

    bool mayStartDiphthong(wchar_t c) const {
        return isSmall(c) ? diphthongStarts_.test(static_cast<std::size_t>(c))
                          : wideDiphthongStart_;
    }

    void build() {
        clear();
        // From the rule asked last to the one asked first, so that a
        // character in two classes ends up with the first one's answer.
        mark(separators, separatorClass);
        table_[L'h'] = undecidedH;
        mark(consonants, consonantClass);
        mark(vowels, vowelClass);

        for (const std::wstring& diphthong : diphthongs) {
            if (diphthong.empty()) {
                continue;
            }
            if (isSmall(diphthong[0])) {
                diphthongStarts_.set(static_cast<std::size_t>(diphthong[0]));
            } else {
                wideDiphthongStart_ = true;
            }
        }
    }

private:
    static constexpr bool isSmall(wchar_t c) { return static_cast<std::size_t>(c) < tableSize; }

    constexpr void clear() {
        table_.fill(otherClass);
        for (wchar_t c = L'0'; c <= L'9'; ++c) {
            table_[static_cast<std::size_t>(c)] = digitClass;
        }
        table_[L'h'] = undecidedH;
        diphthongStarts_ = {};
        wideDiphthongStart_ = false;
    }

    void mark(const std::wstring& letters, unsigned char letterClass) {
        for (wchar_t c : letters) {
            if (isSmall(c)) {
                table_[static_cast<std::size_t>(c)] = letterClass;
            }
        }
    }

    static constexpr std::size_t tableSize = 256;

    std::array<unsigned char, tableSize> table_{};
    std::bitset<tableSize> diphthongStarts_;
    bool wideDiphthongStart_ = false;
};

// Written only by the set-up and only read by counts, so counts that overlap
// against the library's rule still cannot damage it. Constant-initialised,
// so it is ready before any code of the library runs.
constinit LetterClasses letterClasses;

const char* const traceName = "countSyllables";

}  // namespace

void buildLetterClasses() { letterClasses.build(); }

bool isVowelLikeH(const std::wstring& text, unsigned position) {
    if (position == 0 || position >= text.size()) {
        return false;
    }
    if (!contains(vowels, text[position - 1])) {
        return false;
    }
    if (position + 1 == text.size()) {
        return true;
    }
    const wchar_t next = text[position + 1];
    if (contains(vowels, next)) {
        return false;
    }
    return contains(consonants, next) || next == L'h' || contains(separators, next);
}

void lowerWordText(const std::wstring& text, std::wstring& lowered) {
    lowered.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0x100) {
            lowered = toLowerW(text);
            return;
        }
        // A to Z, and the Latin-1 capitals from À to Þ but for ×.
        const bool capital = (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        lowered[i] = capital ? static_cast<wchar_t>(c + 0x20) : c;
    }
}

namespace {

// The lower-cased word of the running count or rating, cleared for each. Its
// storage is kept from call to call, so that a word call need not allocate
// it; one per thread, as a record belongs to its caller's thread.
std::wstring& loweredBuffer() {
    thread_local std::wstring buffer;
    buffer.clear();
    return buffer;
}

}  // namespace

int LX_Word::countSyllables() { return measureSyllables(loweredBuffer()); }

// Leaves the lower-cased word text in `lowered` when the letter rules ran,
// so that a rating need not map the case a second time.
int LX_Word::measureSyllables(std::wstring& lowered) {
    m_nbSyllables = 0;

    const std::wstring& hyphenated = m_hyphenation[0];
    if (hyphenated.find(L'-') != std::wstring::npos) {
        int hyphens = 0;
        for (wchar_t c : hyphenated) {
            hyphens += c == L'-' ? 1 : 0;
        }
        m_nbSyllables = hyphens + 1;
        return m_nbSyllables;
    }
    if (m_language != languageGerman) {
        return 0;
    }

    // Narrowing the texts for the trace costs more than the count itself.
    const bool tracing = logEnabled(wordTraceLevel);
    const std::wstring& text = m_wordText[languageGerman - 1];
    if (tracing) {
        logPrint(wordTraceLevel, "%20s 000 :    %s\n", traceName, toNarrowAcp(text).c_str());
    }
    lowerWordText(text, lowered);
    const std::wstring& t = lowered;
    if (tracing) {
        logPrint(wordTraceLevel, "%20s 010 :    %s\n", traceName, toNarrowAcp(t).c_str());
    }

    const LetterClasses& classes = letterClasses;
    int count = 0;
    int previous = otherClass;
    for (std::size_t i = 0; i < t.size(); ++i) {
        int letterClass = otherClass;
        // Most characters start no diphthong; the table says which may.
        if (classes.mayStartDiphthong(t[i])) {
            for (const std::wstring& diphthong : diphthongs) {
                // An empty diphthong would never let the walk move on.
                if (!diphthong.empty() && letterGroupAt(t, i, diphthong)) {
                    if (tracing) {
                        logPrint(wordTraceLevel, "%20s 050 :    [%2d] vc:%s\n", traceName,
                                 static_cast<int>(i), toNarrowAcp(diphthong).c_str());
                    }
                    letterClass = diphthongClass;
                    // The diphthong's last character goes with it.
                    i += diphthong.size() - 1;
                    break;
                }
            }
        }
        const wchar_t c = t[i];
        if (letterClass == otherClass) {
            letterClass = classes.of(c);
            if (letterClass == undecidedH) {
                letterClass = isVowelLikeH(t, static_cast<unsigned>(i)) ? vowelClass
                                                                        : consonantClass;
            }
        }

        switch (letterClass) {
            case diphthongClass:
            case digitClass:
                ++count;
                break;
            case vowelClass:
                count += previous != vowelClass ? 1 : 0;
                break;
            case separatorClass:
                // A separator ends a syllable only when a consonant closed it.
                count += previous == consonantClass ? 1 : 0;
                break;
            default:
                break;
        }
        previous = letterClass;
        if (tracing) {
            logPrint(wordTraceLevel, "%20s 100 :    [%2d] %lc -> t:%d --> nb:%2d\n", traceName,
                     static_cast<int>(i), static_cast<wint_t>(c), letterClass, count);
        }
    }
    // A word of consonants only ("pst") still has one syllable.
    if (count == 0 && previous == consonantClass) {
        count = 1;
    }

    if (tracing) {
        logPrint(wordTraceLevel, "%20s 999 :    NbSyllables = %d\n", traceName, count);
    }
    m_nbSyllables = count;
    return count;
}

void LX_Word::calcDifficulty() {
    m_difficulty = 0;
    std::wstring& lowered = loweredBuffer();
    measureSyllables(lowered);
    if (m_language != languageGerman) {
        return;
    }
    if (lowered.empty()) {
        // The hyphenation answered the count; the letters were not looked at.
        lowerWordText(m_wordText[languageGerman - 1], lowered);
    }

    std::size_t level = 0;
    if (GraphemeLevel* entry = findHardestGrapheme(lowered, level)) {
        ++entry->count;
        m_difficulty = static_cast<int>(level);
    }

    // Long words made only of easy letters are still hard to spell.
    if (MAXSYLL != 0 && m_difficulty < MAXSYLL && m_difficulty < m_nbSyllables) {
        m_difficulty = m_nbSyllables;
    }
}

void LX_Word::setDifficulty(int level) { m_difficulty = level; }

int LX_Word::getLevelCount(unsigned level) const {
    return level < m_levelCounts.size() ? m_levelCounts[level] : 0;
}

int LX_Word::incrementLevelCount(unsigned level) {
    if (m_levelCounts.size() <= level) {
        m_levelCounts.resize(static_cast<std::size_t>(level) + 1, 0);
    }
    return ++m_levelCounts[level];
}

void LX_Word::decrementLevelCount(unsigned level) {
    if (level < m_levelCounts.size() && m_levelCounts[level] != 0) {
        --m_levelCounts[level];
    }
}

void LX_Word::clearLevelCount(unsigned level) {
    if (m_levelCounts.size() <= level) {
        m_levelCounts.resize(static_cast<std::size_t>(level) + 1, 0);
    }
    m_levelCounts[level] = 0;
}
