// pendingexception LIBRARY: the audio library's play call with a name the
// JVM cannot give, which leaves an exception pending; until Java has seen
// it, JNI allows no further call into the JVM. Exits 0 when the library
// made none, 1 when it did or cannot be loaded.
#include <jni.h>

#include <cstdio>

#include "tests/jni/minimaljni.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pendingexception LIBRARY\n");
        return 2;
    }
    using InternalPlay = void(JNICALL*)(JNIEnv*, jobject, jstring, jstring);
    const JniLibrary library = loadJniLibrary(argv[1]);
    const auto internalPlay =
        library == nullptr
            ? nullptr
            : jniEntry<InternalPlay>(library,
                                     "Java_com_corvantis_utilities_QzAudioPlayer_internalPlay", 16);
    if (internalPlay == nullptr) {
        std::fprintf(stderr, "pendingexception: no internalPlay in %s\n", argv[1]);
        return 1;
    }
    MinimalJni jni;
    JavaString name{"w1234a", true};
    JavaString code{"de_de"};
    internalPlay(jni.env(), nullptr, javaString(name), javaString(code));
    std::printf("calls into the JVM with an exception pending: %d\n",
                MinimalJni::callsWhilePending);
    return MinimalJni::callsWhilePending == 0 ? 0 : 1;
}
