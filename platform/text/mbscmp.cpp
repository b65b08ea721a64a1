// _mbscmp and _mbsicmp for the single-byte code page 1252.
#include <climits>

#include "platform/text/cp1252.h"
#include "platform/text/crt.h"

namespace {

template <bool ignoreCase>
int compareBytes(const unsigned char* first, const unsigned char* second) {
    // The Windows runtime's answer to a null argument (_NLSCMPERROR).
    if (first == nullptr || second == nullptr) return INT_MAX;
    for (;; ++first, ++second) {
        unsigned char a = ignoreCase ? platform::cp1252::toLower(*first) : *first;
        unsigned char b = ignoreCase ? platform::cp1252::toLower(*second) : *second;
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

}  // namespace

int _mbscmp(const unsigned char* first, const unsigned char* second) {
    return compareBytes<false>(first, second);
}

int _mbsicmp(const unsigned char* first, const unsigned char* second) {
    return compareBytes<true>(first, second);
}
