// The least a JNI word function can do: get the string's characters and
// hand them back. The benchmark sets lexicor's calls beside this.
#include <jni.h>

extern "C" JNIEXPORT jint JNICALL Java_lexicortest_Floor_touch(JNIEnv* env, jclass /*floor*/,
                                                               jstring text) {
    if (text == nullptr) {
        return 0;
    }
    const char* chars = env->GetStringUTFChars(text, nullptr);
    if (chars == nullptr) {
        return 0;
    }
    const jint first = static_cast<unsigned char>(chars[0]);
    env->ReleaseStringUTFChars(text, chars);
    return first;
}
