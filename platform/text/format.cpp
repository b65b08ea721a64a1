// The printf family with the Windows runtime's meaning of formats.
//
// glibc reads "%s" in a wide format as narrow text and converts wide text
// through the C locale, which fails for ä in "C". So conversions are walked
// here: numbers, pointers and floats are handed one at a time to snprintf,
// characters and strings are converted and padded here, through code page
// 1252 where narrow meets wide.
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

template <typename CharT>
class Formatter {
public:
    Formatter(std::basic_string<CharT>& out, Arguments& arguments)
        : m_out(out), m_arguments(arguments) {}

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

    // False when the result would outgrow what an int can count.
    bool appendPadded(const Directive& directive, const std::basic_string<CharT>& text) {
        auto width = static_cast<std::size_t>(directive.width);
        std::size_t padding = width > text.size() ? width - text.size() : 0;
        if (text.size() + padding > static_cast<std::size_t>(INT_MAX) - m_out.size()) return false;
        if (!directive.left) m_out.append(padding, ' ');
        m_out += text;
        if (directive.left) m_out.append(padding, ' ');
        return true;
    }

    // Formats one number with the given C length modifier.
    template <typename T>
    bool appendPrintf(const Directive& directive, const char* lengthModifier, T value) {
        std::string format = "%" + directive.flags;
        if (directive.width > 0) format += std::to_string(directive.width);
        if (directive.precision >= 0) format += "." + std::to_string(directive.precision);
        format += lengthModifier;
        format.push_back(static_cast<char>(directive.conversion));

        char small[64];
        int length = std::snprintf(small, sizeof(small), format.c_str(), value);
        if (length < 0) return false;
        std::string large;
        const char* text = small;
        if (static_cast<std::size_t>(length) >= sizeof(small)) {
            large.resize(static_cast<std::size_t>(length) + 1);
            std::snprintf(large.data(), large.size(), format.c_str(), value);
            text = large.data();
        }
        for (int i = 0; i < length; ++i) m_out.push_back(fromNarrow(text[i]));
        return true;
    }

    std::basic_string<CharT>& m_out;
    Arguments& m_arguments;
};

template <typename CharT>
bool formatText(const CharT* format, va_list args, std::basic_string<CharT>& out) {
    if (format == nullptr) return false;
    Arguments arguments;
    va_copy(arguments.list, args);
    bool ok = Formatter<CharT>(out, arguments).run(format);
    va_end(arguments.list);
    return ok && out.size() <= static_cast<std::size_t>(INT_MAX);
}

template <typename CharT>
int measure(const CharT* format, va_list args) {
    std::basic_string<CharT> text;
    if (!formatText(format, args, text)) return -1;
    return static_cast<int>(text.size());
}

// Windows' _vsnprintf: the whole text and, room permitting, a terminator;
// -1 with the buffer filled when the text is cut.
template <typename CharT>
int formatInto(CharT* buffer, std::size_t count, const CharT* format, va_list args) {
    if (buffer == nullptr && count != 0) return -1;
    std::basic_string<CharT> text;
    if (!formatText(format, args, text)) {
        if (count != 0) buffer[0] = 0;
        return -1;
    }
    if (buffer == nullptr) return static_cast<int>(text.size());
    if (text.size() > count) {
        text.copy(buffer, count);
        return -1;
    }
    text.copy(buffer, text.size());
    if (text.size() < count) buffer[text.size()] = 0;
    return static_cast<int>(text.size());
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
