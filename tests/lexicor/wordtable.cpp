// wordtable LIBRARY WORDS: loads the word-analysis library as the Java side
// does, sets it up once and prints one line per word of WORDS (UTF-8, one a
// line): the word, its syllable count and its difficulty, tab-separated.
// The same program built for Linux and for Windows gives the same table
// when both libraries compute the same.
//
// There is no JVM here: see tests/jni/minimaljni.h.
#include <jni.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/jni/minimaljni.h"

namespace {

// UTF-8 to modified UTF-8: U+0000 as two bytes, characters past U+FFFF as
// two three-byte surrogates.
std::string toModifiedUtf8(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead == 0) {
            out += "\xC0\x80";
            ++i;
        } else if (lead >= 0xF0 && i + 3 < utf8.size()) {
            unsigned long code = (lead & 0x07UL) << 18 |
                                 (static_cast<unsigned char>(utf8[i + 1]) & 0x3FUL) << 12 |
                                 (static_cast<unsigned char>(utf8[i + 2]) & 0x3FUL) << 6 |
                                 (static_cast<unsigned char>(utf8[i + 3]) & 0x3FUL);
            code -= 0x10000;
            for (unsigned long unit : {0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)}) {
                out += static_cast<char>(0xE0 | (unit >> 12));
                out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (unit & 0x3F));
            }
            i += 4;
        } else {
            out += utf8[i++];
        }
    }
    return out;
}

using WordCall = jint(JNICALL*)(JNIEnv*, jobject, jstring);
using InitCall = jint(JNICALL*)(JNIEnv*, jobject, jint, jstring);

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wordtable LIBRARY WORDS\n");
        return 2;
    }
    const JniLibrary library = loadJniLibrary(argv[1]);
    if (library == nullptr) {
        std::fprintf(stderr, "wordtable: cannot load %s\n", argv[1]);
        return 1;
    }
    const std::string prefix = "Java_com_corvantis_quillory_database_Word__1";
    const auto init = jniEntry<InitCall>(library, prefix + "nativeInit", 16);
    const auto syllables = jniEntry<WordCall>(library, prefix + "calcNbSyllables", 12);
    const auto difficulty = jniEntry<WordCall>(library, prefix + "calcDifficulty", 12);
    if (init == nullptr || syllables == nullptr || difficulty == nullptr) {
        std::fprintf(stderr, "wordtable: %s lacks an entry point\n", argv[1]);
        return 1;
    }
    std::ifstream file(argv[2], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "wordtable: cannot read %s\n", argv[2]);
        return 1;
    }
    const std::string words{std::istreambuf_iterator<char>(file), {}};

    MinimalJni jni;
    JNIEnv* env = jni.env();
    JavaString media{"C:\\Quillory\\media"};
    init(env, nullptr, 1, javaString(media));
    std::fflush(stdout);
    std::size_t start = 0;
    while (start < words.size()) {
        std::size_t end = words.find('\n', start);
        if (end == std::string::npos) end = words.size();
        std::string word = words.substr(start, end - start);
        if (!word.empty() && word.back() == '\r') word.pop_back();
        start = end + 1;
        JavaString text{toModifiedUtf8(word)};
        const jint count = syllables(env, nullptr, javaString(text));
        const jint level = difficulty(env, nullptr, javaString(text));
        std::printf("%s\t%ld\t%ld\n", word.c_str(), static_cast<long>(count), static_cast<long>(level));
    }
    return 0;
}
