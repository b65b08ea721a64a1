#include <iomanip>
#include <sstream>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "platform/win32.h"
#include "wordmodel/word.h"
#include "wordmodel/wordtables.h"

namespace {

// A recording counts as present when its path passes the access test for
// reading. Nothing is opened: a named pipe or a device in a recording's place
// must not hold the check up, and what the file holds is the player's concern.
bool isReadable(const std::string& path) { return _access(path.c_str(), 4) == 0; }

class Trace {
public:
    explicit Trace(const char* method) : m_method(method), m_on(logEnabled(wordTraceLevel)) {}

    void step(const char* mark) const {
        if (m_on) {
            logPrint(wordTraceLevel, "%s %s\n", m_method, mark);
        }
    }
    void step(const char* mark, const std::wstring& word) const {
        if (m_on) {
            logPrint(wordTraceLevel, "%s %s: %s\n", m_method, mark, toNarrowAcp(word).c_str());
        }
    }

private:
    const char* m_method;
    bool m_on;
};

// "en_uk", "de_de", "pl_pl"; "none" for a language that has no code.
const std::wstring& languageToken(LanguageId language) {
    return tokenTable[language >= languageEnglish && language <= languagePolish ? language : 0];
}

}  // namespace

void LX_Word::setState() {
    const Trace trace("LX_Word::setState");
    trace.step("000", getWord());
    for (AudioKind kind = 1; kind <= 4; ++kind) {
        trace.step("010");
        bool first = true;
        if (getAudioName(m_language).empty()) {
            first = false;
        } else if (!isReadable(getAudioFilePath(m_language, kind))) {
            first = false;
        } else {
            m_audioFileFound[kind] = true;
        }
        trace.step("020");
        bool second = true;
        if (getWord(m_secondLanguage).empty()) {
            second = false;
        } else {
            trace.step("030");
            if (getAudioName(m_secondLanguage).empty()) {
                second = false;
            } else {
                trace.step("040");
                second = isReadable(getAudioFilePath(m_secondLanguage, kind));
            }
        }
        trace.step("050");
        m_audioState[kind] = first && second ? 4 : first ? 2 : second ? 3 : 1;
        trace.step("060");
    }
    trace.step("999");
}

void LX_Word::errorCheck() {
    const Trace trace("LX_Word::errorCheck");
    trace.step("000", getWord());

    std::ostringstream prefixStream;
    prefixStream << "[" << std::setw(4) << m_wordNumber << "] "
                 << ":" << std::setw(4) << toNarrowAcp(getArticle(m_language)) << " "
                 << std::setw(20) << toNarrowAcp(getWord()) << ", "
                 << toNarrowAcp(languageToken(m_language)) << "   :   ";
    const std::string prefixText = prefixStream.str();
    const char* const prefix = prefixText.c_str();

    if (m_isName || m_flagS) {
        m_hasError = true;
    }

    trace.step("010");
    if (getAudioName(m_language).empty()) {
        trace.step("020");
        m_hasError = true;
    } else {
        trace.step("030");
        for (AudioKind kind = 1; kind <= 4; ++kind) {
            trace.step("040");
            if (m_audioState[kind] == 0) {
                trace.step("050");
                if (!isReadable(getAudioFilePath(m_language, kind))) {
                    m_hasError = true;
                }
            } else {
                trace.step("060");
                if (m_audioState[kind] == 1 || m_audioState[kind] == 3) {
                    m_hasError = true;
                }
            }
        }
    }

    trace.step("100");
    if (getWord(m_secondLanguage).empty()) {
        trace.step("110");
        m_hasError = true;
    } else {
        trace.step("120");
        if (getAudioName(m_secondLanguage).empty()) {
            trace.step("130");
            m_hasError = true;
        } else {
            trace.step("140");
            for (AudioKind kind = 1; kind <= 4; ++kind) {
                trace.step("150");
                if (m_audioState[kind] == 0) {
                    trace.step("160");
                    if (!isReadable(getAudioFilePath(m_secondLanguage, kind))) {
                        m_hasError = true;
                    }
                } else {
                    trace.step("170");
                    if (m_audioState[kind] == 1 || m_audioState[kind] == 2) {
                        m_hasError = true;
                    }
                }
            }
        }
    }

    trace.step("200");
    if (hasMultipleLowFirstReferences()) {
        m_hasError = true;
    }
    trace.step("210");
    if (hasMultipleSecondReferences()) {
        m_hasError = true;
    }

    const CheckCodeTable codes = buildCheckCodeTable();
    const int articleCode = codes.code(2);
    const int nameCode = codes.code(13);
    const int kindCode = codes.code(16);
    const int translationCode = codes.code(25);
    const bool hasArticle = !getArticle(m_language).empty();
    if (m_language == languageGerman) {
        const bool noun = hasWordKind(wordKindNoun);
        const bool properName = hasWordKind(wordKindProperName);
        if (m_isName && !properName) {
            logPrint(1, "ERROR: %s is name but has wrong word kind\n", prefix);
            addCheckCode(nameCode);
            addCheckCode(kindCode);
        }
        if (hasArticle && !noun) {
            logPrint(1, "ERROR: %s has article but is no substantiv\n", prefix);
            addCheckCode(articleCode);
            addCheckCode(kindCode);
        }
        if (noun && !properName && !hasArticle) {
            logPrint(1, "ERROR: %s is substantiv without article\n", prefix);
            addCheckCode(articleCode);
            addCheckCode(kindCode);
        }
        if (noun && properName) {
            logPrint(1, "ERROR: %s is substantiv and Eigenname\n", prefix);
            addCheckCode(kindCode);
        }
    }

    if ((m_language == languageGerman || m_language == languageEnglish) && hasArticle &&
        !getWord(m_secondLanguage).empty() && getArticle(m_secondLanguage).empty()) {
        logPrint(1, "ERROR: %s has article and translation \"%s\" has no article\n", prefix,
                 toNarrowAcp(getWord(m_secondLanguage)).c_str());
        addCheckCode(articleCode);
        addCheckCode(translationCode);
    }

    if (!m_phonemList.empty()) {
        std::vector<std::wstring> phonemes;
        splitW(m_phonemList, phonemes, L"-");
        const std::vector<std::wstring> units = getGraphemPhonemList(false);
        if (units.size() != phonemes.size()) {
            logPrint(1,
                     "ERROR: %s size of phonemList and graphemPhonemList differs: "
                     "%d <-> %d (%s <-> %s)\n",
                     prefix, static_cast<int>(units.size()), static_cast<int>(phonemes.size()),
                     toNarrowAcp(graphemPhonemText(L"-", false)).c_str(),
                     toNarrowAcp(m_phonemList).c_str());
        }
    }
    trace.step("999", getWord());
}

bool LX_Word::hasOnlyQLYMembership() const {
    if (m_memberships.size() != 1) {
        return false;
    }
    return hasMembership(L"QLYde") || hasMembership(L"QLYen");
}
