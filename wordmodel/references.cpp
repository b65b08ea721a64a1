#include <algorithm>
#include <iterator>

#include "common/logger.h"
#include "common/textconv.h"
#include "wordmodel/word.h"
#include "wordmodel/wordreference.h"

namespace {

void appendUnlessPresent(std::vector<WordReference>& list, const WordReference& reference) {
    if (std::find(list.begin(), list.end(), reference) == list.end()) {
        list.push_back(reference);
    }
}

std::vector<WordReference> referencesOf(const std::vector<WordReference>& list,
                                        LanguageId language) {
    std::vector<WordReference> selected;
    std::copy_if(list.begin(), list.end(), std::back_inserter(selected),
                 [language](const WordReference& r) { return r.language == language; });
    std::sort(selected.begin(), selected.end(), lessByReference);
    return selected;
}

}  // namespace

bool lessByReference(const WordReference& a, const WordReference& b) {
    return a.value != b.value ? a.value < b.value : a.number < b.number;
}

void LX_Word::sortReferences() {
    if (logEnabled(wordTraceLevel)) {
        logPrint(wordTraceLevel, "LX_Word::sortReferences 000: %s\n",
                 toNarrowAcp(getWord()).c_str());
    }
    sortReferenceList(m_firstReferences, m_language, m_secondLanguage);
    sortReferenceList(m_secondReferences, m_language, m_secondLanguage);
    logPrint(wordTraceLevel, "LX_Word::sortReferences 999\n");
}

std::vector<WordReference>& LX_Word::sortReferenceList(std::vector<WordReference>& list,
                                                       LanguageId a, LanguageId b) {
    std::vector<WordReference> sorted = referencesOf(list, a);
    // Collecting language b again when it is a would double every entry,
    // and again on every later sort.
    if (b != a) {
        const std::vector<WordReference> second = referencesOf(list, b);
        sorted.insert(sorted.end(), second.begin(), second.end());
    }
    list = std::move(sorted);
    return list;
}

void LX_Word::addReference(const WordReference& reference) {
    appendUnlessPresent(m_firstReferences, reference);
}

void LX_Word::addSecondReference(const WordReference& reference) {
    appendUnlessPresent(m_secondReferences, reference);
}

std::vector<WordReference>& LX_Word::getReferences() { return m_firstReferences; }

std::vector<WordReference>& LX_Word::getSecondReferences() { return m_secondReferences; }

bool LX_Word::hasMultipleFirstReferences() const {
    return std::count_if(m_firstReferences.begin(), m_firstReferences.end(),
                         [this](const WordReference& r) { return r.language == m_language; }) > 1;
}

bool LX_Word::hasMultipleLowFirstReferences() const {
    return std::count_if(m_firstReferences.begin(), m_firstReferences.end(),
                         [this](const WordReference& r) {
                             return r.language == m_language && r.getValue() < 99;
                         }) > 1;
}

bool LX_Word::hasMultipleSecondReferences() const {
    return std::count_if(m_secondReferences.begin(), m_secondReferences.end(),
                         [this](const WordReference& r) { return r.language == m_language; }) > 1;
}
