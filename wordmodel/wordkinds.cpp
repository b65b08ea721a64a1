#include <algorithm>
#include <cstdio>
#include <iterator>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/word.h"

namespace {

struct WordKindName {
    WordKind code;
    const wchar_t* german;
    const wchar_t* polish;
};

// In the order the names are tried.
constexpr WordKindName wordKindNames[] = {
    {1, L"Substantiv", L"rzeczownik"},
    {2, L"Verb", L"czasownik"},
    {3, L"Adjektiv", L"przymiotnik"},
    {4, L"Adverb", L"przysłówek"},
    {5, L"Konjunktion", L"Konjunktion"},
    {6, L"Präposition", L"Präposition"},
    {7, L"Numeral", L"liczebnik"},
    {8, L"Pronomen", L"Pronomen"},
    {9, L"Artikel", L"Artikel"},
    {10, L"Interjektion", L"Interjektion"},
    {11, L"Partikel", L"Partikel"},
    {12, L"Eigenname", L"Eigenname"},
    {20, L"Sinnfrei", L"Sinnfrei"},
    {21, L"Alphabet", L"Alphabet"},
};

const wchar_t* const englishArticles[] = {L"the", L"the_"};
const wchar_t* const germanArticles[] = {L"der", L"die", L"das"};

template <std::size_t N>
bool isOneOf(const std::wstring& text, const wchar_t* const (&allowed)[N]) {
    return std::any_of(std::begin(allowed), std::end(allowed),
                       [&text](const wchar_t* article) { return text == article; });
}

// Whether a text is an allowed non-empty article of a language; Polish has
// none, and other languages none either.
bool isAllowedArticle(LanguageId language, const std::wstring& text) {
    if (language == languageEnglish) {
        return isOneOf(text, englishArticles);
    }
    if (language == languageGerman) {
        return isOneOf(text, germanArticles);
    }
    return false;
}

}  // namespace

void LX_Word::setArticle(LanguageId language, const std::wstring& article) {
    if (!article.empty() && language >= languageEnglish && language <= languagePolish &&
        !isAllowedArticle(language, article)) {
        static const char* const lines[] = {
            "ERROR: setArticle(): EnUk/EnUs - %s %s\n",
            "ERROR: setArticle(): DeDe - %s %s\n",
            "ERROR: setArticle(): PlPl - %s %s\n",
        };
        logPrint(1, lines[language - 1], toNarrowAcp(article).c_str(),
                 toNarrowAcp(getWord(language)).c_str());
    }
    const int slot = languageSlot(language);
    if (slot >= 0) {
        m_article[slot] = article;
    }
}

void LX_Word::setWordKind(const std::wstring& name) {
    if (m_language == languageGerman) {
        setWordKindDE(name);
    } else if (m_language == languagePolish) {
        setWordKindPL(name);
    }
}

void LX_Word::setWordKindDE(const std::wstring& name) {
    for (const WordKindName& kind : wordKindNames) {
        if (name == kind.german) {
            addWordKind(kind.code);
            return;
        }
    }
    // Narrowed first: a character that the C runtime's own wide conversion
    // cannot take would cut the line there, or drop it.
    const std::string narrow = toNarrowAcp(name);
    std::printf("ERROR: wordkind DE %s is unkown\n", narrow.c_str());
    std::fflush(stdout);
    logPrint(1, "ERROR: wordkind DE %s is unkown\n", narrow.c_str());
}

void LX_Word::setWordKindPL(const std::wstring& name) {
    for (const WordKindName& kind : wordKindNames) {
        if (name == kind.polish) {
            addWordKind(kind.code);
            return;
        }
    }
    const std::string narrowName = toNarrowAcp(name);
    std::printf("ERROR: wordkind PL: %s is unkown\n", narrowName.c_str());
    std::fflush(stdout);
    logPrint(1, "ERROR: wordkind PL: %s is unkown\n", narrowName.c_str());
}

bool LX_Word::hasWordKind(WordKind code) const {
    return std::find(m_wordKinds.begin(), m_wordKinds.end(), code) != m_wordKinds.end();
}

void LX_Word::addWordKind(WordKind code) {
    if (!hasWordKind(code)) {
        m_wordKinds.push_back(code);
    }
    std::sort(m_wordKinds.begin(), m_wordKinds.end());
}

void LX_Word::setWordKinds(std::vector<WordKind> codes) {
    m_wordKinds.clear();
    addWordKinds(std::move(codes));
}

void LX_Word::addWordKinds(std::vector<WordKind> codes) {
    for (WordKind code : codes) {
        addWordKind(code);
    }
}

std::vector<WordKind> LX_Word::getWordKinds() const { return m_wordKinds; }

std::wstring LX_Word::wordKindsText(const std::wstring& separator) const {
    std::wstring text;
    for (std::size_t i = 0; i < m_wordKinds.size(); ++i) {
        if (i != 0) {
            text += separator;
        }
        text += std::to_wstring(m_wordKinds[i]);
    }
    return text;
}

void LX_Word::addWordKindsFromText(const std::wstring& text, const std::wstring& delimiters) {
    if (text.empty()) {
        return;
    }
    std::wstring copy = text;
    std::vector<std::wstring> items;
    splitW(trimmedW(copy), items, delimiters);
    for (std::wstring& item : items) {
        const std::wstring name = trimmedW(item);
        if (!name.empty() && isAsciiDigit(name[0])) {
            addWordKind(wstringToInt(name));
        } else {
            setWordKind(name);
        }
    }
}

bool LX_Word::isArticle(LanguageId language) const { return isAllowedArticle(language, getWord()); }

bool LX_Word::isArticle() const { return isArticle(m_language); }
