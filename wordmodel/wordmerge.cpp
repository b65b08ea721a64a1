#include <exception>
#include <optional>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/taggedword.h"
#include "wordmodel/word.h"

namespace {

template <typename T>
void takeOverWhenEmpty(T& own, const T& other) {
    if (own.empty() && !other.empty()) {
        own = other;
    }
}

void orFlag(bool& own, bool other) { own = own || other; }

}  // namespace

bool LX_Word::mergeFrom(const LX_Word& source) {
    // Merging a record into itself reads from a copy, so that the lists it
    // walks do not move under it.
    std::optional<LX_Word> copy;
    if (&source == this) {
        copy.emplace(source);
    }
    const LX_Word& other = copy ? *copy : source;

    for (const WordReference& reference : other.m_firstReferences) {
        addReference(reference);
    }
    for (const WordReference& reference : other.m_secondReferences) {
        addSecondReference(reference);
    }
    m_memberships.insert(other.m_memberships.begin(), other.m_memberships.end());
    m_checkCodes.insert(other.m_checkCodes.begin(), other.m_checkCodes.end());
    orFlag(m_flagY, other.m_flagY);
    addWordGroups(other.m_wordGroups);
    addSpellingGroups(other.m_spellingGroups);
    takeOverWhenEmpty(m_graphemPhonemList, other.m_graphemPhonemList);
    for (int variant = 0; variant < 2; ++variant) {
        if (m_taggedWord[variant].empty() && !other.m_taggedWord[variant].empty()) {
            setTaggedWord(other.m_taggedWord[variant], variant, false);
        }
    }
    takeOverWhenEmpty(m_phonemList, other.m_phonemList);
    m_flagQL = true;
    orFlag(m_flagMOB, other.m_flagMOB);
    orFlag(m_flagKR, other.m_flagKR);
    orFlag(m_flagDiF, other.m_flagDiF);
    return true;
}

bool LX_Word::assignFrom(const LX_Word& source, bool overwrite, bool checkIdentity) {
    std::optional<LX_Word> copy;
    if (&source == this) {
        copy.emplace(source);
    }
    const LX_Word& other = copy ? *copy : source;
    const LanguageId language = m_language;
    const LanguageId second = m_secondLanguage;

    if (checkIdentity &&
        (language != other.m_language || second != other.m_secondLanguage ||
         getWord(language) != other.getWord(language) ||
         getArticle(language) != other.getArticle(language))) {
        return false;
    }

    // Per-language texts through their setters, which keep to the slots a
    // language names (the audio library's records have a second language 0).
    auto takeText = [](const std::wstring& own, const std::wstring& theirs) {
        return own.empty() && !theirs.empty();
    };
    if (takeText(getWord(second), other.getWord(second))) {
        setWord(second, other.getWord(second));
    }
    if (takeText(getArticle(second), other.getArticle(second))) {
        setArticle(second, other.getArticle(second));
    }
    for (LanguageId l : {language, second}) {
        if (takeText(getAudioName(l), other.getAudioName(l))) {
            setAudioName(l, other.getAudioName(l));
        }
    }
    for (LanguageId l : {language, second}) {
        if (takeText(getAltAudioName(l), other.getAltAudioName(l))) {
            setAltAudioName(l, other.getAltAudioName(l));
        }
    }
    for (LanguageId l : {language, second}) {
        if (takeText(getAuxText(l), other.getAuxText(l))) {
            setAuxText(l, other.getAuxText(l));
        }
    }
    for (LanguageId l : {language, second}) {
        if (other.getPerLanguageNumber(l) > 0 && getPerLanguageNumber(l) < 1) {
            setPerLanguageNumber(l, other.getPerLanguageNumber(l));
        }
    }

    if (overwrite) {
        setIsName(other.m_isName);
        m_flagS = other.m_flagS;
        m_flagW = other.m_flagW;
        m_hasError = other.m_hasError;
        m_auxNumber = other.m_auxNumber;
        m_wordNumber = other.m_wordNumber;
    } else {
        if (other.m_isName && !m_isName) {
            setIsName(true);
        }
        orFlag(m_flagS, other.m_flagS);
        orFlag(m_flagW, other.m_flagW);
        orFlag(m_hasError, other.m_hasError);
        if (other.m_auxNumber != -1 && m_auxNumber == -1) {
            m_auxNumber = other.m_auxNumber;
        }
        if (other.m_wordNumber != -1 && m_wordNumber == -1) {
            m_wordNumber = other.m_wordNumber;
        }
    }
    orFlag(m_auxFlag, other.m_auxFlag);
    for (int kind = 0; kind < 5; ++kind) {
        if (other.m_audioState[kind] != 0 && m_audioState[kind] == 0) {
            m_audioState[kind] = other.m_audioState[kind];
        }
    }
    for (const WordReference& reference : other.m_firstReferences) {
        addReference(reference);
    }
    for (const WordReference& reference : other.m_secondReferences) {
        addSecondReference(reference);
    }
    m_checkCodes.insert(other.m_checkCodes.begin(), other.m_checkCodes.end());
    const std::set<std::wstring> memberships = other.getMemberships();
    m_memberships.insert(memberships.begin(), memberships.end());
    orFlag(m_flagQL, other.m_flagQL);
    orFlag(m_flagMOB, other.m_flagMOB);
    orFlag(m_flagKR, other.m_flagKR);
    orFlag(m_flagDiF, other.m_flagDiF);
    if (other.m_difficulty != 0 && m_difficulty == 0) {
        m_difficulty = other.m_difficulty;
    }
    addWordGroups(other.m_wordGroups);
    addWordKinds(other.m_wordKinds);
    addSpellingGroups(other.m_spellingGroups);
    takeOverWhenEmpty(m_levelCounts, other.m_levelCounts);
    if (other.m_nbSyllables != 0 && m_nbSyllables == 0) {
        m_nbSyllables = other.m_nbSyllables;
    }
    orFlag(m_flagY, other.m_flagY);
    takeOverWhenEmpty(m_graphemPhonemList, other.m_graphemPhonemList);
    for (int variant = 0; variant < 2; ++variant) {
        if (m_taggedWord[variant].empty() && !other.m_taggedWord[variant].empty()) {
            setTaggedWord(other.m_taggedWord[variant], variant, false);
        }
    }
    takeOverWhenEmpty(m_phonemList, other.m_phonemList);
    takeOverWhenEmpty(m_relatedWords, other.m_relatedWords);
    return true;
}

void LX_Word::changeSZ2SS() {
    try {
        const std::wstring& german = getWord(languageGerman);
        if (german.find(L'ß') == std::wstring::npos) {
            return;
        }
        std::wstring newWord = german;

        // Where the "S" units of the grapheme-phoneme list stand: the word is
        // cut by the list's own rule, so that the positions match its entries
        // ("SCH" in capitals is three units there, "Sch" one).
        std::vector<std::size_t> positions;
        std::size_t unit = 0;
        for (std::size_t at = 0; at < german.size(); ++unit) {
            if (german[at] == L'ß') {
                positions.push_back(unit);
            }
            at += graphemUnitAt(german, at, nullptr);
        }
        replaceAllW(newWord, L"ß", L"ss");

        std::vector<std::wstring> newList = m_graphemPhonemList;
        for (std::size_t k = 0; k < positions.size(); ++k) {
            // Each insertion shifts the ones after it. A "ß" at the list's end
            // is appended; a list that is shorter than that (or empty) gets
            // nothing past its end.
            const std::size_t index = positions[k] + k;
            if (index <= newList.size()) {
                newList.insert(newList.begin() + static_cast<std::ptrdiff_t>(index), L"S");
            }
        }

        std::wstring newHyphenation = m_hyphenation[0];
        std::wstring newMarkedPhones = m_markedPhones[0];
        if (!newHyphenation.empty()) {
            replaceAllW(newHyphenation, L"-ß", L"s-s");
            replaceAllW(newHyphenation, L"ß", L"ss");
            if (removeHyphens(removeBrackets(newHyphenation, false), false) != newWord) {
                logPrint(1,
                         "ERROR: [%4d] word:%-20s <-> hyph:%-20s - wrong content in "
                         "changeSZ2SS (hyphenation)",
                         m_wordNumber, toNarrowAcp(newWord).c_str(),
                         toNarrowAcp(newHyphenation).c_str());
                return;
            }
        }
        if (!newMarkedPhones.empty()) {
            replaceAllW(newMarkedPhones, L"ß", L"ss");
            if (removeHyphens(removeBrackets(newMarkedPhones, false), false) != newWord) {
                logPrint(1,
                         "ERROR: [%4d] word:%-20s <-> mkph:%-20s - wrong content in "
                         "changeSZ2SS (markedPhones)",
                         m_wordNumber, toNarrowAcp(german).c_str(),
                         toNarrowAcp(newMarkedPhones).c_str());
                return;
            }
        }

        setWord(languageGerman, newWord);
        m_hyphenation[0] = std::move(newHyphenation);
        m_markedPhones[0] = std::move(newMarkedPhones);
        m_graphemPhonemList = std::move(newList);
        mergeTaggedWord(0);
        addSpellingGroup(L"s oder ss?");
        for (std::vector<std::wstring>* groups : {&m_wordGroups, &m_spellingGroups}) {
            for (std::wstring& group : *groups) {
                replaceAllW(group, L"ß", L"ss");
            }
        }
    } catch (const std::exception&) {
        // The rewrite ends where it failed; what was stored stays.
    }
}
