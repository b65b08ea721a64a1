#include <algorithm>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/taggedword.h"
#include "wordmodel/word.h"
#include "wordmodel/wordtables.h"

namespace {

const wchar_t* audioStateText(int state) {
    static const wchar_t* const texts[] = {L"    ", L"B0T0", L"B1T0", L"B0T1", L" OK "};
    return state >= 0 && state <= 4 ? texts[state] : L"????";
}

const wchar_t* doubleKindText(int doubleKind) {
    static const wchar_t* const texts[] = {L"       ", L"Dbl_WI ", L"Dbl_W  ",
                                           L"Dbl_WIA", L"Dbl_WAE", L"Dbl_WA "};
    return doubleKind >= 0 && doubleKind <= 5 ? texts[doubleKind] : L"???????";
}

const wchar_t* referenceLanguageText(int language) {
    static const wchar_t* const texts[] = {L"en", L"de", L"pl"};
    return language >= 1 && language <= 3 ? texts[language - 1] : L"????";
}

// The language directory of a resource script line; "none" for a language
// without recordings.
const std::wstring& languageToken(LanguageId language) {
    return tokenTable[language >= languageEnglish && language <= languagePolish ? language : 0];
}

}  // namespace

bool LX_Word::postProcess(const std::wstring& wordGroup) {
    sortReferences();
    const bool german = m_language == languageGerman;
    if (german) {
        if (getGraphemPhonemList(false).empty()) {
            buildGraphemPhonemList();
        }
        calcDifficulty();
        if (!wordGroup.empty()) {
            addWordGroup(wordGroup);
        }
    }
    if (german || m_language == languageEnglish) {
        if (m_isName && !hasWordKind(wordKindProperName)) {
            addWordKind(wordKindProperName);
        }
        if (!getArticle(m_language).empty() && !hasWordKind(wordKindNoun)) {
            addWordKind(wordKindNoun);
        }
    }
    if (m_flagQL && getWord().find(L'-') != std::wstring::npos) {
        // Narrowed first, as the Windows runtime's "%ls" would drop the line.
        logPrint(1, "\n%20s 100 :    %s contains '-' do not use it in Quillory\n",
                 "LX_Word::postProcess", toNarrowAcp(getWord()).c_str());
        m_flagQL = false;
    }
    std::sort(m_wordGroups.begin(), m_wordGroups.end(), lessByUtf16);
    std::sort(m_spellingGroups.begin(), m_spellingGroups.end(), lessByUtf16);
    std::sort(m_wordKinds.begin(), m_wordKinds.end());
    return true;
}

int compareWordText(const LX_Word& first, const LX_Word& second) {
    return compareGermanW(first.getWord(), second.getWord());
}

int compareWords(const LX_Word& first, const LX_Word& second) {
    const int byText = compareWordText(first, second);
    if (byText != 0) {
        return byText;
    }
    return compareGermanW(first.getArticle(first.getLanguage()),
                          second.getArticle(second.getLanguage()));
}

void LX_Word::printTableLine(std::FILE* file) const {
    // Narrowed first: a character that the wide conversion of the C
    // runtime cannot take would cut the line there.
    std::fprintf(file, ": %4d :     : %4s, %20s, %8s, %2d : %4s, %20s, %8s, %2d :\n", m_wordNumber,
                 toNarrowAcp(getArticle(m_language)).c_str(), toNarrowAcp(getWord()).c_str(),
                 toNarrowAcp(getAudioName()).c_str(), getPerLanguageNumber(m_language),
                 toNarrowAcp(getArticle(m_secondLanguage)).c_str(),
                 toNarrowAcp(getWord(m_secondLanguage)).c_str(),
                 toNarrowAcp(getAudioName(m_secondLanguage)).c_str(),
                 getPerLanguageNumber(m_secondLanguage));
}

void LX_Word::writeResourceEntry(std::FILE* header, std::FILE* script,
                                 std::set<std::string>& headerNames,
                                 std::set<std::string>& scriptNames, const std::string& type,
                                 const std::string& subDirectory,
                                 const std::string& extension) const {
    if (getAudioName().empty()) {
        return;
    }
    std::string name = toNarrowAcp(getAudioName());
    toUpperInPlace(name);
    const std::string resourceName = "IDW_" + name;
    if (headerNames.insert(resourceName).second) {
        std::fprintf(header, "#define %s %10d\n", resourceName.c_str(), getResourceId());
    }
    if (scriptNames.insert(resourceName).second) {
        std::fprintf(script, "%-20s %s       \"../../media/%s/%s/%s.%s\"\n", resourceName.c_str(),
                     type.c_str(), toNarrowAcp(languageToken(m_language)).c_str(),
                     subDirectory.c_str(), name.c_str(), extension.c_str());
    }
}

std::wstring LX_Word::toString() const {
    std::wostringstream out;
    auto field = [&out](const auto& value, int width, const wchar_t* then) {
        out << std::setw(width) << value << then;
    };
    const LanguageId current = m_language;
    const LanguageId second = m_secondLanguage;

    field(m_auxNumber, 4, L" : ");
    field(m_wordNumber, 4, L" : ");
    field(getArticle(current), 4, L", ");
    field(getWord(current), 20, L", ");
    field(getAudioName(current), 8, L", ");
    field(getPerLanguageNumber(current), 2, L" : ");
    field(getResourceId(current), 5, L" , ");
    field(getDllIndex(current), 2, L" : ");
    const std::wstring& altName = getAltAudioName(current);
    field(altName != getAudioName(current) ? altName : std::wstring(L" "), 8, L": ");
    field(m_hyphenation[0], 20, L": ");
    out << (m_hyphenationsDiffer ? L"X" : L" ") << L": ";
    field(m_hyphenation[1], 20, L": ");
    field(m_markedPhones[0], 20, L": ");
    out << (m_markedPhonesDiffer ? L"X" : L" ") << L": ";
    field(m_markedPhones[1], 20, L": ");
    field(mergeMarkedPhones(getWord(current), m_markedPhones[0], m_markedPhones[1]), 20, L": ");
    field(graphemPhonemText(L" ", true), 40, L": ");
    field(m_phonemList, 30, L": ");
    field(getWord(current).size(), 2, L": ");
    field(m_nbSyllables, 2, L": ");
    field(m_difficulty, 2, L": ");
    out << (m_isName ? L"N" : L" ") << L", ";
    out << (m_flagS ? L"S" : L" ") << L" : ";
    out << (m_flagW ? L"W" : L" ") << L" : ";
    field(wordKindsText(L", "), 8, L" : ");
    out << (m_flagY ? L"Y" : L"N") << L" : ";
    for (AudioKind kind = 1; kind <= 4; ++kind) {
        out << audioStateText(m_audioState[kind]) << L", ";
    }
    out << doubleKindText(m_doubleKind) << L", ";
    field(getArticle(second), 4, L", ");
    field(getWord(second), 20, L", ");
    field(getAudioName(second), 8, L",");
    field(getPerLanguageNumber(second), 2, L" : ");
    out << (m_flagQL ? L"QL," : L"  ,") << (m_flagKR ? L"KR," : L"  ,")
        << (m_flagMOB ? L"MOB," : L"   ,") << (m_flagDiF ? L"DiF," : L"   ,") << L"\t:";
    for (const std::wstring& token : m_memberships) {
        out << L" " << token << L",";
    }
    out << L"\t:";
    out << wordGroupsText(L"|") << L" : ";
    out << spellingGroupsText(L"|") << L" : ";
    if (!m_firstReferences.empty() && m_firstReferences.front().language != current) {
        out << L" " << L"  " << L"," << L" " << L"," << L" " << L"\t:";
    }
    for (const WordReference& reference : m_firstReferences) {
        out << L" " << referenceLanguageText(reference.language) << L"," << reference.number
            << L"," << reference.value << L"\t:";
    }
    return out.str();
}

void LX_Word::print(std::ostream& out) const { out << toNarrowAcp(toString()) << std::endl; }

void LX_Word::print(std::wostream& out) const { out << toString() << std::endl; }

int LX_Word::getAudioState(AudioKind kind) const {
    return kind >= 1 && kind <= 4 ? m_audioState[kind] : 0;
}

int LX_Word::getDoubleKind() const { return m_doubleKind; }

void LX_Word::raiseDoubleKind(int doubleKind) {
    if (doubleKind > m_doubleKind) {
        m_doubleKind = doubleKind;
    }
}

bool LX_Word::getFlagY() const { return m_flagY; }
