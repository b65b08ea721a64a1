#include "wordmodel/taggedword.h"

#include <stdexcept>
#include <vector>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"
#include "wordmodel/wordtables.h"

namespace {

constexpr int traceLevel = 1;

const std::wstring noText;

bool isVariant(int variant) { return variant == 0 || variant == 1; }

void trace(bool verbose, const char* line) {
    if (verbose) {
        logPrint(traceLevel, "%s", line);
    }
}

void trace(bool verbose, const char* format, const std::wstring& text) {
    if (verbose) {
        logPrint(traceLevel, format, toNarrowAcp(text).c_str());
    }
}

std::wstring plainText(const std::wstring& text, bool verbose) {
    return removeHyphens(removeBrackets(text, verbose), verbose);
}

bool startsWithAny(const std::wstring& text, const wchar_t* characters) {
    return !text.empty() && std::wstring(characters).find(text[0]) != std::wstring::npos;
}

wchar_t at(const std::wstring& text, std::size_t position) {
    return position < text.size() ? text[position] : L'\0';
}

}  // namespace

std::wstring removeBrackets(std::wstring text, bool verbose) {
    trace(verbose, "removeBrackets 000: %s\n", text);
    trace(verbose, "removeBrackets 010: %s\n", text);
    replaceAllW(text, L"[", L"");
    trace(verbose, "removeBrackets 020: %s\n", text);
    replaceAllW(text, L"]", L"");
    trace(verbose, "removeBrackets 999: %s\n", text);
    return text;
}

std::wstring removeHyphens(std::wstring text, bool verbose) {
    trace(verbose, "removeHyphens 000: %s\n", text);
    trace(verbose, "removeHyphens 010: %s\n", text);
    replaceAllW(text, L"-", L"");
    trace(verbose, "removeHyphens 999: %s\n", text);
    return text;
}

std::wstring mergeHyphenations(const std::wstring& word, const std::wstring& first,
                               const std::wstring& second) {
    std::wstring merged;
    std::size_t a = 0;
    std::size_t b = 0;
    for (wchar_t letter : word) {
        const bool breakInFirst = at(first, a) == L'-';
        const bool breakInSecond = at(second, b) == L'-';
        if (breakInFirst || breakInSecond) {
            merged += L'-';
            a += breakInFirst ? 1 : 0;
            b += breakInSecond ? 1 : 0;
        }
        merged += letter;
        // A NUL letter must not match the end of a text.
        if (a >= first.size() || first[a] != letter) {
            throw std::runtime_error("Exception 1011");
        }
        if (b >= second.size() || second[b] != letter) {
            throw std::runtime_error("Exception 1012");
        }
        ++a;
        ++b;
    }
    return merged;
}

std::wstring mergeMarkedPhones(const std::wstring& word, const std::wstring& first,
                               const std::wstring& second) {
    if (first.empty()) {
        return second;
    }
    if (second.empty()) {
        return first;
    }
    if (plainText(first, false) != word) {
        return second;
    }
    if (plainText(second, false) != word) {
        return first;
    }

    // Steps past the brackets before the next letter, following whether they
    // leave the text inside a mark.
    auto skipBrackets = [](const std::wstring& text, std::size_t& position, bool& inside) {
        while (position < text.size() && (text[position] == L'[' || text[position] == L']')) {
            inside = text[position] == L'[';
            ++position;
        }
    };
    std::vector<bool> marked(word.size(), false);
    std::size_t a = 0;
    std::size_t b = 0;
    bool inFirst = false;
    bool inSecond = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        skipBrackets(first, a, inFirst);
        skipBrackets(second, b, inSecond);
        if (a >= first.size() || first[a] != word[i]) {
            throw std::runtime_error("Exception 1001");
        }
        if (b >= second.size() || second[b] != word[i]) {
            throw std::runtime_error("Exception 1002");
        }
        marked[i] = inFirst || inSecond;
        ++a;
        ++b;
    }

    std::wstring merged;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (marked[i] && (i == 0 || !marked[i - 1])) {
            merged += L'[';
        }
        merged += word[i];
        if (marked[i] && (i + 1 == word.size() || !marked[i + 1])) {
            merged += L']';
        }
    }
    return merged;
}

bool LX_Word::spellsWord(const std::wstring& text, bool verbose) const {
    return plainText(text, verbose) == getWord();
}

void LX_Word::setTaggedWord(const std::wstring& text, int variant, bool verbose) {
    if (verbose) {
        logPrint(traceLevel, "setTaggedWord 000: %s %d\n", toNarrowAcp(text).c_str(), variant);
    }
    if (text.empty() || !isVariant(variant)) {
        trace(verbose, "setTaggedWord 999 1\n");
        return;
    }
    trace(verbose, "setTaggedWord 020\n");
    m_taggedWord[variant] = text;
    // Checked from a copy: the stored text is not to change under the checks.
    const std::wstring tagged = m_taggedWord[variant];
    trace(verbose, "setTaggedWord 030\n");
    setHyphenationIntern(tagged, variant, verbose);
    trace(verbose, "setTaggedWord 040\n");
    setMarkedPhonesIntern(tagged, variant, verbose);
    trace(verbose, "setTaggedWord 999 9\n");
    testVariantsDiffer(true, true);
}

void LX_Word::setTaggedWordQL(const std::wstring& text, bool verbose) {
    trace(verbose, "setTaggedWordQL 000: %s\n", text);
    setTaggedWord(text, 0, verbose);
    trace(verbose, "setTaggedWordQL 999\n");
}

void LX_Word::setTaggedWordAlt(const std::wstring& text) { setTaggedWord(text, 1, false); }

std::wstring LX_Word::getTaggedWord(int variant) const {
    return isVariant(variant) ? m_taggedWord[variant] : std::wstring();
}

std::wstring LX_Word::getTaggedWordQL() const { return getTaggedWord(0); }

std::wstring LX_Word::getTaggedWordAlt() const { return getTaggedWord(1); }

std::wstring LX_Word::mergeTaggedWord(int variant) {
    if (!isVariant(variant)) {
        return std::wstring();
    }
    std::wstring hyphens = m_hyphenation[variant];
    std::wstring marks = m_markedPhones[variant];
    std::wstring& tagged = m_taggedWord[variant];
    tagged.clear();
    if (hyphens.empty()) {
        tagged = marks;
        return tagged;
    }
    if (marks.empty()) {
        tagged = hyphens;
        return tagged;
    }
    while (!hyphens.empty() || !marks.empty()) {
        std::size_t common = 0;
        while (common < hyphens.size() && common < marks.size() &&
               hyphens[common] == marks[common]) {
            ++common;
        }
        tagged.append(hyphens, 0, common);
        hyphens.erase(0, common);
        marks.erase(0, common);
        bool consumed = common != 0;
        if (startsWithAny(hyphens, L"-")) {
            tagged += L'-';
            hyphens.erase(0, 1);
            consumed = true;
        }
        if (startsWithAny(marks, L"[]")) {
            tagged += marks[0];
            marks.erase(0, 1);
            consumed = true;
        }
        // The two spell different letters (the word text changed between
        // them): nothing would ever match again.
        if (!consumed) {
            tagged += hyphens;
            tagged += marks;
            break;
        }
    }
    return tagged;
}

std::wstring LX_Word::mergeTaggedWordQL() { return mergeTaggedWord(0); }

std::wstring LX_Word::mergeTaggedWordAlt() { return mergeTaggedWord(1); }

void LX_Word::setHyphenationIntern(const std::wstring& text, int variant, bool verbose) {
    if (verbose) {
        logPrint(traceLevel, "setHyphenationIntern 000: %s kind:%d\n", toNarrowAcp(text).c_str(),
                 variant);
    }
    if (spellsWord(text, verbose)) {
        trace(verbose, "setHyphenationIntern 010\n");
        if (isVariant(variant)) {
            m_hyphenation[variant] = removeBrackets(text, verbose);
        }
        trace(verbose, "setHyphenationIntern 020\n");
    } else {
        trace(verbose, "setHyphenationIntern 030\n");
        logPrint(1, "ERROR: [%4d] %s <->  \"%s\" - wrong content in Hyphenation\n", m_wordNumber,
                 toNarrowAcp(getWord()).c_str(), toNarrowAcp(text).c_str());
    }
    if (variant == 0) {
        calcDifficulty();
    }
    trace(verbose, "setHyphenationIntern 999\n");
}

void LX_Word::setHyphenation(const std::wstring& text, int variant) {
    setHyphenationIntern(text, variant, false);
    mergeTaggedWord(variant);
    testVariantsDiffer(true, false);
}

void LX_Word::setHyphenationQL(const std::wstring& text) { setHyphenation(text, 0); }

void LX_Word::setHyphenationAlt(const std::wstring& text) { setHyphenation(text, 1); }

const std::wstring& LX_Word::getHyphenation(int variant) const {
    return isVariant(variant) ? m_hyphenation[variant] : noText;
}

const std::wstring& LX_Word::getHyphenationQL() const { return getHyphenation(0); }

const std::wstring& LX_Word::getHyphenationAlt() const { return getHyphenation(1); }

void LX_Word::setMarkedPhonesIntern(const std::wstring& text, int variant, bool verbose) {
    if (verbose) {
        logPrint(traceLevel, "setMarkedPhonesIntern 000: %s %d\n", toNarrowAcp(text).c_str(),
                 variant);
    }
    if (spellsWord(text, verbose)) {
        trace(verbose, "setMarkedPhonesIntern 010\n");
        if (isVariant(variant)) {
            m_markedPhones[variant] = removeHyphens(text, verbose);
        }
        trace(verbose, "setMarkedPhonesIntern 020\n");
    } else {
        trace(verbose, "setMarkedPhonesIntern 030\n");
        logPrint(1, "ERROR: [%4d] %s <-> %s - wrong content in MarkedPhones\n", m_wordNumber,
                 toNarrowAcp(getWord()).c_str(), toNarrowAcp(text).c_str());
    }
    trace(verbose, "setMarkedPhonesIntern 999\n");
}

void LX_Word::setMarkedPhones(const std::wstring& text, int variant) {
    setMarkedPhonesIntern(text, variant, false);
    mergeTaggedWord(variant);
    testVariantsDiffer(false, true);
}

void LX_Word::setMarkedPhonesQL(const std::wstring& text) { setMarkedPhones(text, 0); }

void LX_Word::setMarkedPhonesAlt(const std::wstring& text) { setMarkedPhones(text, 1); }

const std::wstring& LX_Word::getMarkedPhones(int variant) const {
    return isVariant(variant) ? m_markedPhones[variant] : noText;
}

const std::wstring& LX_Word::getMarkedPhonesQL() const { return getMarkedPhones(0); }

const std::wstring& LX_Word::getMarkedPhonesAlt() const { return getMarkedPhones(1); }

void LX_Word::repairMarkedPhones(int variant) {
    if (!isVariant(variant)) {
        return;
    }
    std::wstring repaired = m_markedPhones[variant];
    for (const std::wstring* letters : {&vowels, &consonants}) {
        for (wchar_t c : *letters) {
            // "[%c]%c" to "%c[%c]"; built by hand, since a wide printf's %c
            // would take the letter for a narrow character.
            replaceAllW(repaired, std::wstring{L'[', c, L']', c}, std::wstring{c, L'[', c, L']'});
        }
    }
    replaceAllW(repaired, L"[[[", L"[");
    replaceAllW(repaired, L"[[", L"[");
    replaceAllW(repaired, L"]]]", L"]");
    replaceAllW(repaired, L"]]", L"]");
    if (variant == 0 && repaired != m_markedPhones[0]) {
        logPrint(1, "repairMarkedPhones(QL): %s -> %s\n", toNarrowAcp(m_markedPhones[0]).c_str(),
                 toNarrowAcp(repaired).c_str());
    }
    setMarkedPhones(repaired, variant);
}

void LX_Word::repairMarkedPhonesQL() { repairMarkedPhones(0); }

void LX_Word::repairMarkedPhonesAlt() { repairMarkedPhones(1); }

void LX_Word::testVariantsDiffer(bool hyphenations, bool markedPhones) {
    auto differ = [](const std::wstring (&texts)[2]) {
        return !texts[0].empty() && !texts[1].empty() && texts[0] != texts[1];
    };
    if (hyphenations && differ(m_hyphenation)) {
        setHyphenationsDiffer(true);
    }
    if (markedPhones && differ(m_markedPhones)) {
        setMarkedPhonesDiffer(true);
    }
}

void LX_Word::setHyphenationsDiffer(bool differ) {
    m_hyphenationsDiffer = differ;
    if (differ) {
        const CheckCodeTable table = buildCheckCodeTable();
        addCheckCode(table.code(7));
        addCheckCode(table.code(8));
    }
}

bool LX_Word::hyphenationsDiffer() const { return m_hyphenationsDiffer; }

void LX_Word::setMarkedPhonesDiffer(bool differ) {
    m_markedPhonesDiffer = differ;
    if (differ) {
        const CheckCodeTable table = buildCheckCodeTable();
        addCheckCode(table.code(9));
        addCheckCode(table.code(10));
    }
}

bool LX_Word::markedPhonesDiffer() const { return m_markedPhonesDiffer; }

void LX_Word::setPhonemList(const std::wstring& phonemes) { m_phonemList = phonemes; }

const std::wstring& LX_Word::getPhonemList() const { return m_phonemList; }
