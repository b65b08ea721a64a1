// playcalls DLL MEDIA NAME: loads the audio library as the Java runtime does
// (LoadLibraryA, exports by their decorated names) and makes the calls of
// the application, with the JNI environment of tests/jni/minimaljni.h.
//
// Before each call a marker line "--- <what>" goes to standard output, so
// that the library's own lines can be told apart; after the play calls a
// line "--- returned after N ms". MEDIA is the media directory for audio
// kind 4 (Windows form, with its final backslash), NAME a recording there.
// Ends with "--- strings taken T, handed back H" and exit status 0, or 1
// when the library or an export is missing.
#include <jni.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/jni/minimaljni.h"

namespace {

using SayHello = void(JNICALL*)(JNIEnv*, jobject);
using NativeInit = jint(JNICALL*)(JNIEnv*, jobject, jint, jstring);
using InternalPlay = void(JNICALL*)(JNIEnv*, jobject, jstring, jstring);

template <typename Function>
Function exported(JniLibrary library, const char* name, int argumentBytes) {
    const auto function = jniEntry<Function>(library, name, argumentBytes);
    if (function == nullptr)
        std::printf("--- no export %s\n", jniExportName(name, argumentBytes).c_str());
    return function;
}

void marker(const std::string& what) {
    std::printf("--- %s\n", what.c_str());
    std::fflush(stdout);
}

void play(JNIEnv* env, InternalPlay internalPlay, const char* name, const char* code) {
    JavaString nameString{name};
    JavaString codeString{code};
    marker(std::string("play ") + name + " " + code);
    const DWORD start = GetTickCount();
    internalPlay(env, nullptr, javaString(nameString), javaString(codeString));
    std::printf("--- returned after %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: playcalls DLL MEDIA NAME\n");
        return 2;
    }
    const JniLibrary library = loadJniLibrary(argv[1]);
    if (library == nullptr) {
        std::printf("--- %s does not load: error %lu\n", argv[1],
                    static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    const auto sayHello =
        exported<SayHello>(library, "Java_com_corvantis_utilities_QzAudioPlayer_sayHello", 8);
    const auto nativeInit = exported<NativeInit>(
        library, "Java_com_corvantis_utilities_QzAudioPlayer__1nativeInit", 16);
    const auto internalPlay = exported<InternalPlay>(
        library, "Java_com_corvantis_utilities_QzAudioPlayer_internalPlay", 16);
    if (sayHello == nullptr || nativeInit == nullptr || internalPlay == nullptr) return 1;

    MinimalJni jni;
    JNIEnv* env = jni.env();

    marker("hello");
    sayHello(env, nullptr);

    JavaString media{argv[2]};
    marker("set-up");
    const jint result = nativeInit(env, nullptr, 4, javaString(media));
    std::printf("--- set-up returned %ld\n", static_cast<long>(result));

    play(env, internalPlay, argv[3], "fr_fr");
    play(env, internalPlay, argv[3], "de_de");

    std::printf("--- strings taken %d, handed back %d\n", MinimalJni::taken, MinimalJni::handedBack);
    return 0;
}
