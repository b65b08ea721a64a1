// The word-analysis library's three JNI entry points: set up the word model
// once, rate a word, count its syllables. Every word is analysed as German.
//
// Java strings arrive as modified UTF-8. They are decoded, narrowed to the
// ANSI code page and widened again, so the word model sees only characters
// of that code page (others as its substitute), as it would on Windows.
#include <jni.h>

#include <string>
#include <utility>

#include "wordmodel/javastring.h"
#include "wordmodel/javatext.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"

namespace {

// Takes a Java string in as the word model sees text. False, with nothing
// touched, for a null string or when the JVM cannot give its characters (it
// then has an exception pending, which is left for the caller).
bool takeText(JNIEnv* env, jstring string, std::wstring& text) {
    return withJavaString(env, string, [&](const char* chars) { text = javaTextToWide(chars); });
}

// A German record for the word, English as second language.
bool takeWord(JNIEnv* env, jstring string, LX_Word& word) {
    std::wstring text;
    if (!takeText(env, string, text)) {
        return false;
    }
    word.setWord(languageGerman, std::move(text));
    return true;
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_com_corvantis_quillory_database_Word__1calcDifficulty(
    JNIEnv* env, jobject /*caller*/, jstring text) {
    LX_Word word(languageGerman, languageEnglish);
    if (!takeWord(env, text, word)) {
        return 0;
    }
    word.calcDifficulty();
    return word.getDifficulty();
}

JNIEXPORT jint JNICALL Java_com_corvantis_quillory_database_Word__1calcNbSyllables(
    JNIEnv* env, jobject /*caller*/, jstring text) {
    LX_Word word(languageGerman, languageEnglish);
    if (!takeWord(env, text, word)) {
        return 0;
    }
    return word.countSyllables();
}

JNIEXPORT jint JNICALL Java_com_corvantis_quillory_database_Word__1nativeInit(
    JNIEnv* env, jobject /*caller*/, jint kind, jstring directory) {
    std::wstring text;
    // A null directory is served as the empty one, as the audio library
    // serves it: the first call sets the library up whatever it is given.
    takeText(env, directory, text);
    initWordLibrary(kind, text, std::wstring());
    return 0;
}

}  // extern "C"
