// CompareStringA/W: German linguistic order through ICU's collators.
//
// Windows' word sort gives the hyphen and the apostrophe no weight of their
// own: "co-op" sorts with "coop", "E-Mail" after "Eimer". They decide only
// between texts that are equal without them, and then the text with fewer of
// them, or with its first one earlier, comes first. ICU would sort them as
// punctuation before every letter, so they are taken out before collating
// and compared on their own afterwards.
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <memory>
#include <mutex>
#include <type_traits>

#include <unicode/ucol.h>

#include "platform/text/cp1252.h"
#include "platform/text/text.h"
#include "platform/text/utf16.h"

namespace {

// One collator per served order, opened on first use and kept for the life of
// the process. ICU does not promise that a shared collator may be used by
// several threads at once, so each one has its lock.
class Collator {
public:
    explicit Collator(const char* locale) {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open(locale, &status);
        if (U_FAILURE(status)) {
            m_collator = nullptr;
            return;
        }
        // Flags 0 on Windows: every difference counts, case included.
        ucol_setStrength(m_collator, UCOL_TERTIARY);
    }
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    bool usable() const { return m_collator != nullptr; }

    UCollationResult compare(const UChar* first, int32_t firstLength, const UChar* second,
                             int32_t secondLength) {
        std::lock_guard<std::mutex> guard(m_lock);
        return ucol_strcoll(m_collator, first, firstLength, second, secondLength);
    }

private:
    std::mutex m_lock;
    UCollator* m_collator = nullptr;
};

Collator* collatorFor(LCID locale) {
    constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
    if (locale == MAKELCID(kGerman, SORT_GERMAN_PHONE_BOOK)) {
        static Collator phoneBook("de-u-co-phonebk");
        return &phoneBook;
    }
    // A German system's default order is the dictionary one.
    if (locale == MAKELCID(kGerman, SORT_DEFAULT) || locale == LOCALE_USER_DEFAULT ||
        locale == LOCALE_SYSTEM_DEFAULT) {
        static Collator dictionary("de");
        return &dictionary;
    }
    return nullptr;
}

// Hyphen-minus and apostrophe.
template <typename CharT>
bool isWordSortMark(CharT c) {
    return c == '-' || c == '\'';
}

// A text in UTF-16 for ICU. Words fit the inline buffer; longer texts go to
// the heap.
class Utf16Text {
public:
    Utf16Text() = default;
    Utf16Text(const Utf16Text&) = delete;
    Utf16Text& operator=(const Utf16Text&) = delete;

    // Narrow text is code page 1252: one unit per byte. The word-sort marks
    // are left out.
    bool assign(const char* text, int length) {
        std::size_t count = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
        UChar* out = reserve(count);
        if (out == nullptr) return false;
        std::size_t units = 0;
        for (std::size_t i = 0; i < count; ++i) {
            UChar c = platform::cp1252::kToUnicode[static_cast<unsigned char>(text[i])];
            if (!isWordSortMark(c)) out[units++] = c;
        }
        m_size = static_cast<int32_t>(units);
        return true;
    }

    // wchar_t is UTF-32; what is no Unicode scalar value compares as U+FFFD.
    bool assign(const wchar_t* text, int length) {
        std::size_t count = length < 0 ? std::wcslen(text) : static_cast<std::size_t>(length);
        std::size_t units = 0;
        for (std::size_t i = 0; i < count; ++i) {
            units += platform::utf16::encodedUnits(static_cast<char32_t>(text[i]));
        }
        UChar* out = reserve(units);
        if (out == nullptr) return false;
        UChar* start = out;
        for (std::size_t i = 0; i < count; ++i) {
            if (isWordSortMark(text[i])) continue;
            out += platform::utf16::encode(static_cast<char32_t>(text[i]), out);
        }
        m_size = static_cast<int32_t>(out - start);
        return true;
    }

    const UChar* data() const { return m_data; }
    int32_t size() const { return m_size; }

private:
    UChar* reserve(std::size_t units) {
        if (units > INT32_MAX) return nullptr;
        if (units > kInline) {
            m_heap = std::make_unique<UChar[]>(units);
            m_data = m_heap.get();
        }
        m_size = static_cast<int32_t>(units);
        return m_data;
    }

    static constexpr std::size_t kInline = 128;
    UChar m_inline[kInline];
    std::unique_ptr<UChar[]> m_heap;
    UChar* m_data = m_inline;
    int32_t m_size = 0;
};

// Between texts equal without their marks: the marks' positions in the text,
// then the marks themselves, decide; no mark sorts before any.
template <typename CharT>
UCollationResult compareMarks(const CharT* first, std::size_t firstLength, const CharT* second,
                              std::size_t secondLength) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < firstLength && !isWordSortMark(first[i])) ++i;
        while (j < secondLength && !isWordSortMark(second[j])) ++j;
        bool firstDone = i == firstLength;
        bool secondDone = j == secondLength;
        if (firstDone || secondDone) {
            if (firstDone && secondDone) return UCOL_EQUAL;
            return firstDone ? UCOL_LESS : UCOL_GREATER;
        }
        if (i != j) return i < j ? UCOL_LESS : UCOL_GREATER;
        // The apostrophe before the hyphen, as in code order.
        if (first[i] != second[j]) return first[i] < second[j] ? UCOL_LESS : UCOL_GREATER;
        ++i;
        ++j;
    }
}

template <typename CharT>
std::size_t lengthOf(const CharT* text, int length) {
    if (length >= 0) return static_cast<std::size_t>(length);
    if constexpr (std::is_same_v<CharT, char>) {
        return std::strlen(text);
    } else {
        return std::wcslen(text);
    }
}

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

template <typename CharT>
int compareText(LCID locale, DWORD flags, const CharT* first, int firstLength,
                const CharT* second, int secondLength) {
    Collator* collator = collatorFor(locale);
    if (collator == nullptr || !collator->usable()) return fail(ERROR_INVALID_PARAMETER);
    if (flags != 0) return fail(ERROR_INVALID_FLAGS);
    if (first == nullptr || second == nullptr) return fail(ERROR_INVALID_PARAMETER);
    Utf16Text left;
    Utf16Text right;
    if (!left.assign(first, firstLength) || !right.assign(second, secondLength)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    UCollationResult order = collator->compare(left.data(), left.size(), right.data(), right.size());
    if (order == UCOL_EQUAL) {
        order = compareMarks(first, lengthOf(first, firstLength), second,
                             lengthOf(second, secondLength));
    }
    switch (order) {
    case UCOL_LESS: return CSTR_LESS_THAN;
    case UCOL_EQUAL: return CSTR_EQUAL;
    case UCOL_GREATER: return CSTR_GREATER_THAN;
    }
    return fail(ERROR_INVALID_PARAMETER);
}

}  // namespace

int CompareStringA(LCID locale, DWORD flags, LPCSTR first, int firstLength, LPCSTR second,
                   int secondLength) {
    return compareText(locale, flags, first, firstLength, second, secondLength);
}

int CompareStringW(LCID locale, DWORD flags, LPCWSTR first, int firstLength, LPCWSTR second,
                   int secondLength) {
    return compareText(locale, flags, first, firstLength, second, secondLength);
}
