// The printf family with the Windows runtime's meaning of formats.
//
// glibc reads "%s" in a wide format as narrow text and converts wide text
// through the C locale, which fails for ä in "C". So conversions are walked
// here: numbers, pointers and floats are handed one at a time to snprintf,
// characters and strings are converted and padded here, through code page
// 1252 where narrow meets wide.
//
// Output goes to a sink that counts every character but stores only as many
// as its buffer holds, so measuring "%2147483647s" costs nothing and a cut
// text is never built whole. Numbers are formatted in the "C" locale, as the
// Windows runtime's are, whatever locale the host process has set: a JVM
// sets the C library's locale from LANG, and "0,5" is no number of ours.
#include <locale.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <type_traits>

#include "platform/text/cp1252.h"
#include "platform/text/crt.h"

namespace {

// va_list is an array type on x86-64; inside a struct it can be passed by
// reference and advanced by the callee.
struct Arguments {
    va_list list;
};

enum class Size { none, hh, h, l, ll, L, j, z, t, I, I32, I64, w };

struct Directive {
    std::string flags;  // as written, for snprintf
    bool left = false;
    int width = 0;
    int precision = -1;  // -1: none given
    Size size = Size::none;
    int conversion = 0;
};

// Counts all it is given; keeps the first `capacity` characters in `buffer`.
template <typename CharT>
class Sink {
public:
    Sink(CharT* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void push_back(CharT c) { append(1, c); }

    void append(std::size_t count, CharT c) {
        std::size_t room = stored() < m_capacity ? m_capacity - stored() : 0;
        std::fill_n(m_buffer + stored(), std::min(count, room), c);
        m_count += count;
    }

    template <typename SourceT, typename Convert>
    void append(const SourceT* text, std::size_t length, Convert convert) {
        std::size_t room = stored() < m_capacity ? m_capacity - stored() : 0;
        CharT* out = m_buffer + stored();
        for (std::size_t i = 0; i < std::min(length, room); ++i) out[i] = convert(text[i]);
        m_count += length;
    }

    // Every count past INT_MAX is as bad as the first; a width is at most
    // INT_MAX, so the sum cannot wrap.
    std::size_t size() const { return m_count; }

private:
    std::size_t stored() const { return std::min(m_count, m_capacity); }

    CharT* m_buffer;
    std::size_t m_capacity;
    std::size_t m_count = 0;
};

// The "C" locale for the calling thread while it lives; the process's own
// locale and other threads stay as they are.
class ClassicNumbers {
public:
    ClassicNumbers() {
        static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        if (classic != static_cast<locale_t>(0)) m_previous = uselocale(classic);
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;
    ~ClassicNumbers() {
        if (m_previous != static_cast<locale_t>(0)) uselocale(m_previous);
    }

private:
    locale_t m_previous = static_cast<locale_t>(0);
};

template <typename CharT>
class Formatter {
public:
    Formatter(Sink<CharT>& out, Arguments& arguments) : m_out(out), m_arguments(arguments) {}

    // False for a format the Windows runtime rejects, "%n" included.
    bool run(const CharT* format) {
        const CharT* p = format;
        while (*p != 0) {
            if (*p != '%') {
                m_out.push_back(*p++);
                continue;
            }
            ++p;
            Directive directive;
            if (!parse(p, directive) || !convert(directive)) return false;
        }
        return true;
    }

private:
    static constexpr bool kWideFamily = std::is_same_v<CharT, wchar_t>;

    static int code(CharT c) {
        if constexpr (kWideFamily) {
            return static_cast<int>(c);
        } else {
            return static_cast<unsigned char>(c);
        }
    }

    static bool isDigit(int c) { return c >= '0' && c <= '9'; }

    bool readNumber(const CharT*& p, int& value) {
        value = 0;
        while (isDigit(code(*p))) {
            int digit = code(*p++) - '0';
            if (value > (INT_MAX - digit) / 10) return false;
            value = value * 10 + digit;
        }
        return true;
    }

    bool parse(const CharT*& p, Directive& directive) {
        for (;; ++p) {
            int c = code(*p);
            if (c == '-') {
                directive.left = true;
            } else if (c != '+' && c != ' ' && c != '#' && c != '0') {
                break;
            }
            directive.flags.push_back(static_cast<char>(c));
        }
        if (code(*p) == '*') {
            ++p;
            int width = va_arg(m_arguments.list, int);
            if (width == INT_MIN) return false;
            if (width < 0) {
                // A negative width from the arguments means left-aligned.
                directive.left = true;
                directive.flags.push_back('-');
                width = -width;
            }
            directive.width = width;
        } else if (!readNumber(p, directive.width)) {
            return false;
        }
        if (code(*p) == '.') {
            ++p;
            if (code(*p) == '*') {
                ++p;
                int precision = va_arg(m_arguments.list, int);
                directive.precision = precision < 0 ? -1 : precision;
            } else if (!readNumber(p, directive.precision)) {
                return false;
            }
        }
        int c = code(*p);
        if (c == 'h' || c == 'l') {
            ++p;
            bool doubled = code(*p) == c;
            if (doubled) ++p;
            if (c == 'h') {
                directive.size = doubled ? Size::hh : Size::h;
            } else {
                directive.size = doubled ? Size::ll : Size::l;
            }
        } else if (c == 'I') {
            ++p;
            directive.size = Size::I;
            if (code(p[0]) == '3' && code(p[1]) == '2') {
                p += 2;
                directive.size = Size::I32;
            } else if (code(p[0]) == '6' && code(p[1]) == '4') {
                p += 2;
                directive.size = Size::I64;
            }
        } else {
            switch (c) {
            case 'L': directive.size = Size::L; break;
            case 'j': directive.size = Size::j; break;
            case 'z': directive.size = Size::z; break;
            case 't': directive.size = Size::t; break;
            case 'w': directive.size = Size::w; break;
            default: break;
            }
            if (directive.size != Size::none) ++p;
        }
        if (*p == 0) return false;
        directive.conversion = code(*p++);
        return true;
    }

    bool convert(const Directive& directive) {
        switch (directive.conversion) {
        case '%': m_out.push_back('%'); return true;
        case 'd':
        case 'i': return convertSigned(directive);
        case 'u':
        case 'o':
        case 'x':
        case 'X': return convertUnsigned(directive);
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A': return convertFloat(directive);
        case 'p': return convertPointer(directive);
        case 'c':
        case 'C':
        case 's':
        case 'S': return convertText(directive);
        default: return false;  // "%n" among them: it writes through a pointer
        }
    }

    bool convertSigned(const Directive& directive) {
        va_list& list = m_arguments.list;
        long long value;
        switch (directive.size) {
        case Size::none: value = va_arg(list, int); break;
        case Size::hh: value = static_cast<signed char>(va_arg(list, int)); break;
        case Size::h: value = static_cast<short>(va_arg(list, int)); break;
        case Size::l: value = va_arg(list, long); break;
        case Size::ll:
        case Size::I64: value = va_arg(list, long long); break;
        case Size::j: value = va_arg(list, std::intmax_t); break;
        case Size::z:
        case Size::t:
        case Size::I: value = va_arg(list, std::ptrdiff_t); break;
        case Size::I32: value = va_arg(list, std::int32_t); break;
        default: return false;
        }
        return appendPrintf(directive, "ll", value);
    }

    bool convertUnsigned(const Directive& directive) {
        va_list& list = m_arguments.list;
        unsigned long long value;
        switch (directive.size) {
        case Size::none: value = va_arg(list, unsigned int); break;
        case Size::hh: value = static_cast<unsigned char>(va_arg(list, int)); break;
        case Size::h: value = static_cast<unsigned short>(va_arg(list, int)); break;
        case Size::l: value = va_arg(list, unsigned long); break;
        case Size::ll:
        case Size::I64: value = va_arg(list, unsigned long long); break;
        case Size::j: value = va_arg(list, std::uintmax_t); break;
        case Size::z:
        case Size::t:
        case Size::I: value = va_arg(list, std::size_t); break;
        case Size::I32: value = va_arg(list, std::uint32_t); break;
        default: return false;
        }
        return appendPrintf(directive, "ll", value);
    }

    bool convertFloat(const Directive& directive) {
        if (directive.size == Size::L) {
            return appendPrintf(directive, "L", va_arg(m_arguments.list, long double));
        }
        if (directive.size != Size::none && directive.size != Size::l) return false;
        return appendPrintf(directive, "", va_arg(m_arguments.list, double));
    }

    // The Windows runtime prints a pointer as all its hex digits, upper case,
    // without "0x".
    bool convertPointer(const Directive& directive) {
        auto value = reinterpret_cast<std::uintptr_t>(va_arg(m_arguments.list, void*));
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::basic_string<CharT> text(sizeof(value) * 2, '0');
        for (std::size_t i = text.size(); i > 0; --i, value >>= 4) {
            text[i - 1] = static_cast<CharT>(kDigits[value & 0xF]);
        }
        return appendPadded(directive, text);
    }

    // Whether a "%c"/"%s" argument is wide: the size prefix decides, else the
    // conversion's case relative to the family.
    static bool wideArgument(const Directive& directive, bool& wide) {
        switch (directive.size) {
        case Size::none: {
            bool upper = directive.conversion == 'C' || directive.conversion == 'S';
            wide = upper != kWideFamily;
            return true;
        }
        case Size::l:
        case Size::w: wide = true; return true;
        case Size::h: wide = false; return true;
        default: return false;
        }
    }

    static CharT fromNarrow(char c) {
        if constexpr (kWideFamily) {
            return platform::cp1252::toWide(static_cast<unsigned char>(c));
        } else {
            return c;
        }
    }

    static CharT fromWide(wchar_t c) {
        if constexpr (kWideFamily) {
            return c;
        } else {
            int byte = platform::cp1252::fromWide(c);
            return byte < 0 ? '?' : static_cast<char>(byte);
        }
    }

    template <typename ArgT>
    static void appendConverted(std::basic_string<CharT>& text, const ArgT* source, int precision) {
        // With a precision the text need not be terminated: read no further.
        std::size_t limit = precision >= 0 ? static_cast<std::size_t>(precision) : SIZE_MAX;
        for (std::size_t i = 0; i < limit && source[i] != 0; ++i) {
            if constexpr (std::is_same_v<ArgT, char>) {
                text.push_back(fromNarrow(source[i]));
            } else {
                text.push_back(fromWide(source[i]));
            }
        }
    }

    bool convertText(const Directive& directive) {
        bool wide = false;
        if (!wideArgument(directive, wide)) return false;
        va_list& list = m_arguments.list;
        std::basic_string<CharT> text;
        if (directive.conversion == 'c' || directive.conversion == 'C') {
            if (wide) {
                text.push_back(fromWide(static_cast<wchar_t>(va_arg(list, std::wint_t))));
            } else {
                text.push_back(fromNarrow(static_cast<char>(va_arg(list, int))));
            }
        } else if (wide) {
            const wchar_t* source = va_arg(list, const wchar_t*);
            appendConverted(text, source != nullptr ? source : L"(null)", directive.precision);
        } else {
            const char* source = va_arg(list, const char*);
            appendConverted(text, source != nullptr ? source : "(null)", directive.precision);
        }
        return appendPadded(directive, text);
    }

    bool appendPadded(const Directive& directive, const std::basic_string<CharT>& text) {
        auto width = static_cast<std::size_t>(directive.width);
        std::size_t padding = width > text.size() ? width - text.size() : 0;
        if (!directive.left) m_out.append(padding, ' ');
        m_out.append(text.data(), text.size(), [](CharT c) { return c; });
        if (directive.left) m_out.append(padding, ' ');
        return true;
    }

    // Formats one number with the given C length modifier. Widths and
    // precisions up to kDirect go to snprintf as they are. Larger ones only
    // add runs of one character (padding, or zeros of a precision beyond
    // every digit the value has), so the number is formatted with small ones
    // and the runs are counted into the output instead of being built.
    template <typename T>
    bool appendPrintf(const Directive& directive, const char* lengthModifier, T value) {
        static constexpr int kDirect = 20000;
        auto widen = [](char c) { return fromNarrow(c); };
        std::string body;
        if (directive.width <= kDirect && directive.precision <= kDirect) {
            if (!printOne(directive, lengthModifier, value, body)) return false;
            m_out.append(body.data(), body.size(), widen);
            return true;
        }
        Directive small = directive;
        small.width = 0;
        small.precision = std::min(directive.precision, kDirect);
        if (!printOne(small, lengthModifier, value, body)) return false;

        // The one more digit that a precision of kDirect + 1 shows marks where
        // the zeros go. A value with no digit to spare (as "%g" drops
        // trailing zeros) shows none and gets none.
        Run zeros;
        if (directive.precision > kDirect) {
            std::string longer;
            small.precision = kDirect + 1;
            if (!printOne(small, lengthModifier, value, longer)) return false;
            small.precision = kDirect;
            if (longer != body) {
                zeros = runOf(body, longer, static_cast<std::size_t>(directive.precision - kDirect));
            }
        }
        // Likewise the width: padded by one, the body shows where its padding
        // goes and what it is made of.
        Run padding;
        std::size_t length = body.size() + zeros.count;
        if (static_cast<std::size_t>(directive.width) > length) {
            std::string padded;
            small.width = static_cast<int>(body.size() + 1);
            if (!printOne(small, lengthModifier, value, padded)) return false;
            padding = runOf(body, padded, static_cast<std::size_t>(directive.width) - length);
        }
        // Where both go to one place, the padding comes first, except on the
        // right of a left-aligned number.
        Run first = padding;
        Run second = zeros;
        if (zeros.at < padding.at || (zeros.at == padding.at && directive.left)) {
            std::swap(first, second);
        }
        m_out.append(body.data(), first.at, widen);
        m_out.append(first.count, static_cast<CharT>(first.c));
        m_out.append(body.data() + first.at, second.at - first.at, widen);
        m_out.append(second.count, static_cast<CharT>(second.c));
        m_out.append(body.data() + second.at, body.size() - second.at, widen);
        return true;
    }

    // count copies of c, inserted at position at of a body.
    struct Run {
        std::size_t at = 0;
        char c = ' ';
        std::size_t count = 0;
    };

    // longer is body with one character inserted: find it.
    static Run runOf(const std::string& body, const std::string& longer, std::size_t count) {
        std::size_t at = 0;
        while (at < body.size() && body[at] == longer[at]) ++at;
        return Run{at, longer[at], count};
    }

    template <typename T>
    static bool printOne(const Directive& directive, const char* lengthModifier, T value,
                         std::string& out) {
        std::string format = "%" + directive.flags;
        if (directive.width > 0) format += std::to_string(directive.width);
        if (directive.precision >= 0) format += "." + std::to_string(directive.precision);
        format += lengthModifier;
        format.push_back(static_cast<char>(directive.conversion));

        char small[64];
        int length = std::snprintf(small, sizeof(small), format.c_str(), value);
        if (length < 0) return false;
        if (static_cast<std::size_t>(length) < sizeof(small)) {
            out.assign(small, static_cast<std::size_t>(length));
            return true;
        }
        out.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(out.data(), out.size(), format.c_str(), value);
        out.pop_back();
        return true;
    }

    Sink<CharT>& m_out;
    Arguments& m_arguments;
};

// Formats into sink; false for a bad format or a text longer than an int
// can count.
template <typename CharT>
bool formatText(const CharT* format, va_list args, Sink<CharT>& sink) {
    if (format == nullptr) return false;
    ClassicNumbers classic;
    Arguments arguments;
    va_copy(arguments.list, args);
    bool ok = Formatter<CharT>(sink, arguments).run(format);
    va_end(arguments.list);
    return ok && sink.size() <= static_cast<std::size_t>(INT_MAX);
}

template <typename CharT>
int measure(const CharT* format, va_list args) {
    Sink<CharT> counter(nullptr, 0);
    if (!formatText(format, args, counter)) return -1;
    return static_cast<int>(counter.size());
}

// Windows' _vsnprintf: the whole text and, room permitting, a terminator;
// -1 with the buffer filled when the text is cut.
template <typename CharT>
int formatInto(CharT* buffer, std::size_t count, const CharT* format, va_list args) {
    if (buffer == nullptr && count != 0) return -1;
    Sink<CharT> sink(buffer, count);
    if (!formatText(format, args, sink)) {
        if (count != 0) buffer[0] = 0;
        return -1;
    }
    if (buffer == nullptr) return static_cast<int>(sink.size());
    if (sink.size() > count) return -1;
    if (sink.size() < count) buffer[sink.size()] = 0;
    return static_cast<int>(sink.size());
}

}  // namespace

int _vscprintf(const char* format, va_list args) { return measure(format, args); }

int _vscwprintf(const wchar_t* format, va_list args) { return measure(format, args); }

int _vsnprintf(char* buffer, std::size_t count, const char* format, va_list args) {
    return formatInto(buffer, count, format, args);
}

int _vsnwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format, va_list args) {
    return formatInto(buffer, count, format, args);
}

int _snprintf(char* buffer, std::size_t count, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int result = formatInto(buffer, count, format, args);
    va_end(args);
    return result;
}

int _snwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    int result = formatInto(buffer, count, format, args);
    va_end(args);
    return result;
}
