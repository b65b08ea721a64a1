// A JNI environment without a JVM, for the programs that load our JNI
// libraries themselves: it serves only the two calls the libraries make,
// GetStringUTFChars and ReleaseStringUTFChars, and counts them.
#pragma once

#include <jni.h>

#include <string>

// What a jstring points at here: the string's modified UTF-8 bytes.
struct JavaString {
    std::string utf;
};

inline jstring javaString(JavaString& string) { return reinterpret_cast<jstring>(&string); }

class MinimalJni {
public:
    MinimalJni() {
        m_functions.GetStringUTFChars = take;
        m_functions.ReleaseStringUTFChars = handBack;
        m_env.functions = &m_functions;
    }
    MinimalJni(const MinimalJni&) = delete;
    MinimalJni& operator=(const MinimalJni&) = delete;

    JNIEnv* env() { return &m_env; }
    // Strings taken and handed back, over every environment of the program.
    static inline int taken = 0;
    static inline int handedBack = 0;

private:
    static const char* JNICALL take(JNIEnv*, jstring string, jboolean* isCopy) {
        if (isCopy != nullptr) *isCopy = JNI_FALSE;
        ++taken;
        return reinterpret_cast<JavaString*>(string)->utf.c_str();
    }
    static void JNICALL handBack(JNIEnv*, jstring, const char*) { ++handedBack; }

    JNINativeInterface_ m_functions{};
    JNIEnv m_env{};
};
