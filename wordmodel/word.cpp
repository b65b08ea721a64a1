#include "wordmodel/word.h"

#include <utility>

namespace {

// What an accessor answers for a language that names no slot.
const std::wstring noText;

template <typename T, std::size_t N>
void fillAll(T (&array)[N], const T& value) {
    for (T& element : array) {
        element = value;
    }
}

template <std::size_t N>
void clearAll(std::wstring (&texts)[N]) {
    for (std::wstring& text : texts) {
        text.clear();
    }
}

}  // namespace

LX_Word::LX_Word() : LX_Word(languageGerman, languageEnglish) {}

// The member initialisers already give what reset() would, and a record is
// built for every word the Java side asks about, so reset() is not run again.
LX_Word::LX_Word(LanguageId language, LanguageId secondLanguage)
    : m_language(language), m_secondLanguage(secondLanguage) {}

void LX_Word::reset() {
    clearAll(m_wordText);
    clearAll(m_article);
    m_relatedWords.clear();
    clearAll(m_audioName);
    // m_altAudioName and m_auxText stay: copies and merges put them there.
    m_language = 0;
    m_secondLanguage = 0;
    m_isName = false;
    m_flagS = false;
    m_flagW = false;
    m_graphemPhonemList.clear();
    m_wordGroups.clear();
    m_spellingGroups.clear();
    m_wordKinds.clear();
    m_difficulty = 0;
    m_levelCounts.clear();
    m_nbSyllables = 0;
    m_flagY = false;
    clearAll(m_taggedWord);
    clearAll(m_hyphenation);
    clearAll(m_markedPhones);
    m_hyphenationsDiffer = false;
    m_markedPhonesDiffer = false;
    m_phonemList.clear();
    fillAll(m_perLanguageNumber, -1);
    fillAll(m_dllIndex, -1);
    fillAll(m_resourceId, -1);
    fillAll(m_audioState, 0);
    m_doubleKind = 0;
    m_hasError = false;
    fillAll(m_audioFileFound, false);
    m_auxNumber = -1;
    m_wordNumber = -1;
    m_auxFlag = false;
    // m_checkCodes stays: the checks' findings outlive a reset.
    m_firstReferences.clear();
    m_secondReferences.clear();
    m_memberships.clear();
    m_flagKR = false;
    m_flagQL = false;
    m_flagMOB = false;
    m_flagDiF = false;
}

int LX_Word::languageSlot(LanguageId language) {
    return language >= 1 && language <= languageSlotCount ? language - 1 : -1;
}

void LX_Word::setWord(LanguageId language, std::wstring text) {
    const int slot = languageSlot(language);
    if (slot >= 0) {
        m_wordText[slot] = std::move(text);
    }
}

void LX_Word::setWord(std::wstring text) { setWord(m_language, std::move(text)); }

const std::wstring& LX_Word::getWord(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_wordText[slot] : noText;
}

const std::wstring& LX_Word::getWord() const { return getWord(m_language); }

int LX_Word::getWordLength() const { return static_cast<int>(getWord().size()); }

const std::wstring& LX_Word::getArticle(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_article[slot] : noText;
}

const std::wstring& LX_Word::getAudioName(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_audioName[slot] : noText;
}

const std::wstring& LX_Word::getAudioName() const { return getAudioName(m_language); }

const std::wstring& LX_Word::getAltAudioName(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_altAudioName[slot] : noText;
}

void LX_Word::setAltAudioName(LanguageId language, const std::wstring& name) {
    const int slot = languageSlot(language);
    if (slot >= 0) {
        m_altAudioName[slot] = name;
    }
}

const std::wstring& LX_Word::getAuxText(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_auxText[slot] : noText;
}

void LX_Word::setAuxText(LanguageId language, const std::wstring& text) {
    const int slot = languageSlot(language);
    if (slot >= 0) {
        m_auxText[slot] = text;
    }
}

LanguageId LX_Word::getLanguage() const { return m_language; }

bool LX_Word::isName() const { return m_isName; }

void LX_Word::setIsName(bool value) { m_isName = value; }

int LX_Word::getNbSyllables() const { return m_nbSyllables; }

int LX_Word::getDifficulty() const { return m_difficulty; }

int LX_Word::getPerLanguageNumber(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_perLanguageNumber[slot] : -1;
}

void LX_Word::setPerLanguageNumber(LanguageId language, int number) {
    const int slot = languageSlot(language);
    if (slot >= 0) {
        m_perLanguageNumber[slot] = number;
    }
}

int LX_Word::getResourceId(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_resourceId[slot] : -1;
}

int LX_Word::getResourceId() const { return getResourceId(m_language); }

int LX_Word::getDllIndex(LanguageId language) const {
    const int slot = languageSlot(language);
    return slot >= 0 ? m_dllIndex[slot] : -1;
}

int LX_Word::getWordNumber() const { return m_wordNumber; }

void LX_Word::addCheckCode(int code) { m_checkCodes.insert(code); }

bool LX_Word::hasMembership(const std::wstring& token) const {
    return m_memberships.count(token) != 0;
}

std::set<std::wstring> LX_Word::getMemberships() const { return m_memberships; }

void LX_Word::setQLFlag(bool value) { m_flagQL = value; }

bool LX_Word::getQLFlag() const { return m_flagQL; }
