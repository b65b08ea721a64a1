// The audio library's three JNI entry points: greet, set the word model up
// once, speak one recording.
//
// internalPlay is synchronous: it plays the recording and sleeps for the
// clip's duration plus 1 ms before it returns, so the Java thread that calls
// it is blocked for the whole clip. Every call opens and releases the sound
// device with its own sound object.
#include <jni.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "audio/directsound.h"
#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/javastring.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"

namespace {

// The bytes of a Java string (modified UTF-8), copied; false for a null
// string or when the JVM cannot give them.
bool takeBytes(JNIEnv* env, jstring string, std::string& bytes) {
    return withJavaString(env, string, [&](const char* chars) { bytes = chars; });
}

// The language of a code, by exact comparison; 0 for a code that names none.
LanguageId languageOfCode(const std::string& code) {
    if (code == "de_de") return languageGerman;
    if (code == "en_uk") return languageEnglish;
    if (code == "pl_pl") return languagePolish;
    return 0;
}

void printError(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    logPrint(1, "%s", line.c_str());
    std::fflush(stdout);
}

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_com_corvantis_utilities_QzAudioPlayer_sayHello(JNIEnv* /*env*/,
                                                                           jobject /*caller*/) {
    std::printf("Hello AudioPlayer\n");
    std::fflush(stdout);
}

JNIEXPORT jint JNICALL Java_com_corvantis_utilities_QzAudioPlayer__1nativeInit(
    JNIEnv* env, jobject /*caller*/, jint kind, jstring directory) {
    std::string bytes;
    // A null directory is served as the empty one: the call still sets the
    // library up and says so, as every call does.
    takeBytes(env, directory, bytes);
    const std::string narrow = toNarrowAcp(fromUtf8(bytes.c_str(), -1));
    initWordLibrary(kind, toWide(narrow), std::wstring());
    std::printf("JNI_QZ_AudioPlayer: init with audio typ:%d, path:%s\n", static_cast<int>(kind),
                narrow.c_str());
    std::fflush(stdout);
    return 0;
}

JNIEXPORT void JNICALL Java_com_corvantis_utilities_QzAudioPlayer_internalPlay(JNIEnv* env,
                                                                               jobject /*caller*/,
                                                                               jstring name,
                                                                               jstring code) {
    std::string nameBytes;
    std::string codeBytes;
    // A null name is served as the empty one: nothing to play. A name the
    // JVM could not give leaves an exception pending, and with it no call
    // into the JVM is allowed: the exception goes back to Java at once.
    if (!takeBytes(env, name, nameBytes) && name != nullptr) {
        return;
    }
    const bool haveCode = takeBytes(env, code, codeBytes);
    const LanguageId language = haveCode ? languageOfCode(codeBytes) : 0;
    if (language == 0) {
        // Without a language there is no slot to store the name in, nor a
        // library row to look in.
        const std::string shown =
            haveCode ? "\"" + toNarrowAcp(fromUtf8(codeBytes.c_str(), -1)) + "\"" : "(null)";
        printError("ERROR: unknown language code " + shown + ", nothing played\n");
        return;
    }

    LX_Word word(language, 0);
    word.setAudioName(language, toWideN(nameBytes.c_str(), -1));
    if (word.getAudioName(language).empty()) {
        return;
    }
    CDirectSound sound("");
    HMODULE module = word.getResourceModule();
    if (sound.load(word.getResourceId(language) & 0xFFFF, module, nullptr)) {
        const DWORD wait = static_cast<DWORD>(sound.getDurationMs()) + 1;
        sound.play(0, 0);
        Sleep(wait);
    } else {
        const std::string article = toNarrowAcp(word.getArticle(language));
        const std::string text = toNarrowAcp(word.getWord(language));
        const std::string audioName = toNarrowAcp(word.getAudioName(language));
        printError(formatString("ERROR: %s %s, filename=%s, res id=%d, dll id=%d\n",
                                article.c_str(), text.c_str(), audioName.c_str(),
                                word.getResourceId(language), word.getDllIndex(language)));
    }
    std::fflush(stdout);
}

}  // extern "C"
