// Taking a string from the JVM: the JNI libraries' one way to it. Only they
// include this header (it needs the JDK's jni.h).
#pragma once

#include <jni.h>

// Calls use with the string's modified UTF-8 bytes, then hands them back to
// the JVM. False, without calling use, for a null string or when the JVM
// cannot give the characters (it then has an exception pending, which is
// left for the caller).
template <class Use>
bool withJavaString(JNIEnv* env, jstring string, Use use) {
    if (string == nullptr) {
        return false;
    }
    const char* chars = env->GetStringUTFChars(string, nullptr);
    if (chars == nullptr) {
        return false;
    }
    use(chars);
    env->ReleaseStringUTFChars(string, chars);
    return true;
}
