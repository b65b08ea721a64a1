#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/syllables.h"
#include "wordmodel/word.h"

namespace {

// The UTF-16 code units of a wide text, one at a time: a character beyond the
// Basic Multilingual Plane gives its surrogate pair. Where wchar_t is UTF-16
// already, the units are the text's own.
class Utf16Units {
public:
    explicit Utf16Units(const std::wstring& text) : m_text(text) {}

    // -1 after the last unit.
    std::int64_t next() {
        if (m_low != 0) {
            const std::int64_t low = m_low;
            m_low = 0;
            return low;
        }
        if (m_at == m_text.size()) {
            return -1;
        }
        const auto c = static_cast<std::uint32_t>(m_text[m_at++]);
        if (c < 0x10000 || c > 0x10FFFF) {
            return c;
        }
        m_low = 0xDC00 + ((c - 0x10000) & 0x3FF);
        return 0xD800 + ((c - 0x10000) >> 10);
    }

private:
    const std::wstring& m_text;
    std::size_t m_at = 0;
    std::uint32_t m_low = 0;
};

// Searched linearly: a rewrite of the names in place (ß to ss) may leave a
// list out of order.
void addGroup(std::vector<std::wstring>& groups, std::set<std::wstring>& registry,
              const std::wstring& name) {
    if (std::find(groups.begin(), groups.end(), name) != groups.end()) {
        return;
    }
    groups.push_back(name);
    std::sort(groups.begin(), groups.end(), lessByUtf16);
    registry.insert(name);
}

std::wstring joined(const std::vector<std::wstring>& entries, const std::wstring& separator) {
    std::wstring text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        text += entries[i];
        if (i + 1 < entries.size()) {
            text += separator;
        }
    }
    return text;
}

struct SpellingRule {
    std::vector<const wchar_t*> sequences;  // any one suffices
    const wchar_t* group;
};

// In the order they are tried; the lengthening h has a rule of its own and
// goes in third.
const SpellingRule rulesBeforeH[] = {
    {{L"aa", L"ee", L"ii", L"oo", L"uu"}, L"Selbstlautverdopplung"},
    {{L"bb", L"cc", L"dd", L"ff", L"gg", L"hh", L"jj", L"kk", L"ll", L"mm", L"nn",
      L"pp", L"qq", L"rr", L"ss", L"tt", L"vv", L"ww", L"xx", L"yy", L"zz"},
     L"Mitlautverdopplung"},
};
const SpellingRule rulesAfterH[] = {
    {{L"s", L"ss"}, L"s oder ss?"},
    {{L"ei", L"ai", L"ey"}, L"ei, ai oder ey?"},
    {{L"ieh"}, L"Wörter mit ieh"},
    {{L"ie"}, L"Wörter mit ie"},
    {{L"tz"}, L"Wörter mit tz"},
    {{L"k", L"ck"}, L"k oder ck?"},
    {{L"chs"}, L"Wörter mit chs"},
    {{L"eu", L"äu"}, L"eu oder äu?"},
    {{L"scht", L"st"}, L"scht oder st?"},
    {{L"schp", L"sp"}, L"schp oder sp?"},
    {{L"f", L"pf"}, L"f oder pf?"},
    {{L"qu"}, L"Wörter mit qu"},
    {{L"e", L"ä"}, L"e oder ä?"},
    {{L"y"}, L"Wörter mit y"},
    {{L"th"}, L"Wörter mit th"},
    {{L"ph"}, L"Wörter mit ph"},
    {{L"k", L"g"}, L"k oder g?"},
    {{L"p", L"b"}, L"p oder b?"},
    {{L"t", L"d"}, L"t oder d?"},
    {{L"ng", L"nk"}, L"ng oder nk?"},
    {{L"vor", L"fort"}, L"vor oder fort?"},
};

bool containsAny(const std::wstring& text, const SpellingRule& rule) {
    return std::any_of(rule.sequences.begin(), rule.sequences.end(), [&text](const wchar_t* s) {
        return text.find(s) != std::wstring::npos;
    });
}

bool hasLengtheningH(const std::wstring& text) {
    for (std::size_t at = text.find(L'h'); at != std::wstring::npos;
         at = text.find(L'h', at + 1)) {
        if (isVowelLikeH(text, static_cast<unsigned>(at))) {
            return true;
        }
    }
    return false;
}

// Umlaut letters and their codes in the stored list, in the order they are
// replaced.
const std::pair<const wchar_t*, const wchar_t*> umlautCodes[] = {
    {L"A2", L"Ä"}, {L"O2", L"Ö"}, {L"U2", L"Ü"}};

struct UnitRule {
    const wchar_t* lower;
    const wchar_t* capital;  // null: no capital form is a unit
    const wchar_t* unit;
};

// Case-sensitive as listed: "SCH" in capitals is no unit but three letters.
const UnitRule unitRules[] = {
    {L"sch", L"Sch", L"SCH"}, {L"ch", L"Ch", L"CH"}, {L"c", L"C", L"C(Z)"},
    {L"v", L"V", L"V(F)"},    {L"y", L"Y", L"Y(Ü)"}, {L"ä", L"Ä", L"A2"},
    {L"ö", L"Ö", L"O2"},      {L"ü", L"Ü", L"U2"},   {L"ß", nullptr, L"S"},
};

bool startsAt(const std::wstring& text, std::size_t at, const wchar_t* part) {
    return part != nullptr && text.compare(at, std::wcslen(part), part) == 0;
}

}  // namespace

std::size_t LX_Word::graphemUnitAt(const std::wstring& text, std::size_t at,
                                   std::wstring* unit) {
    for (const UnitRule& rule : unitRules) {
        if (startsAt(text, at, rule.lower) || startsAt(text, at, rule.capital)) {
            if (unit != nullptr) {
                *unit = rule.unit;
            }
            return std::wcslen(rule.lower);
        }
    }
    if (unit != nullptr) {
        *unit = toUpperW(text.substr(at, 1));
    }
    return 1;
}

bool lessByUtf16(const std::wstring& first, const std::wstring& second) {
    Utf16Units a(first);
    Utf16Units b(second);
    for (;;) {
        const std::int64_t x = a.next();
        const std::int64_t y = b.next();
        if (x != y || x < 0) {
            return x < y;
        }
    }
}

void LX_Word::addWordGroup(const std::wstring& name) {
    if (name.empty()) {
        return;
    }
    if (name == L"Alpha+Allgemeine Wörter") {
        logPrint(1, "WordGroupERROR : WordGroup Alpha+Allgemeine W\xF6rter : %s\n",
                 toNarrowAcp(toString()).c_str());
    }
    addGroup(m_wordGroups, wordGroupRegistry, name);
}

void LX_Word::addWordGroups(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        addWordGroup(name);
    }
}

std::vector<std::wstring> LX_Word::getWordGroups() const { return m_wordGroups; }

std::wstring LX_Word::wordGroupsText(const std::wstring& separator) const {
    return joined(m_wordGroups, separator);
}

void LX_Word::addSpellingGroup(const std::wstring& name) {
    if (!name.empty()) {
        addGroup(m_spellingGroups, spellingGroupRegistry, name);
    }
}

void LX_Word::addSpellingGroups(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        addSpellingGroup(name);
    }
}

std::vector<std::wstring> LX_Word::getSpellingGroups() const { return m_spellingGroups; }

std::wstring LX_Word::spellingGroupsText(const std::wstring& separator) const {
    return joined(m_spellingGroups, separator);
}

bool LX_Word::findWordGroups() {
    if (m_language != languageGerman) {
        return false;
    }
    const std::wstring text = toLowerW(getWord(languageGerman));
    for (const SpellingRule& rule : rulesBeforeH) {
        if (containsAny(text, rule)) {
            addSpellingGroup(rule.group);
        }
    }
    if (hasLengtheningH(text)) {
        addSpellingGroup(L"Dehnungs-h");
    }
    for (const SpellingRule& rule : rulesAfterH) {
        if (containsAny(text, rule)) {
            addSpellingGroup(rule.group);
        }
    }
    return true;
}

void LX_Word::buildGraphemPhonemList() {
    m_graphemPhonemList.clear();
    const std::wstring& text = getWord();
    std::wstring unit;
    for (std::size_t at = 0; at < text.size();) {
        at += graphemUnitAt(text, at, &unit);
        m_graphemPhonemList.push_back(unit);
    }
}

std::vector<std::wstring> LX_Word::getGraphemPhonemList(bool readable) const {
    std::vector<std::wstring> list = m_graphemPhonemList;
    if (readable) {
        for (std::wstring& entry : list) {
            for (const auto& [code, letter] : umlautCodes) {
                replaceAllW(entry, code, letter);
            }
        }
    }
    return list;
}

std::wstring LX_Word::graphemPhonemText(const std::wstring& separator, bool readable) const {
    return joined(getGraphemPhonemList(readable), separator);
}

void LX_Word::setGraphemPhonemList(const std::vector<std::wstring>& list) {
    m_graphemPhonemList = list;
    for (std::wstring& entry : m_graphemPhonemList) {
        for (const auto& [code, letter] : umlautCodes) {
            replaceAllW(entry, letter, code);
        }
    }
}
