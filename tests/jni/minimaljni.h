// For the programs that load our JNI libraries themselves, without a JVM:
// the libraries' entry points found as the JVM finds them, and a JNI
// environment that serves only the two calls the libraries make,
// GetStringUTFChars and ReleaseStringUTFChars, and counts them. A string can
// be one the JVM cannot give, as when its memory runs out: taking it fails
// and leaves an exception pending, after which JNI allows neither call.
#pragma once

#include <jni.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

// The type that stands for any function.
using AnyFunction = void (*)();

#ifdef _WIN32
using JniLibrary = HMODULE;
inline JniLibrary loadJniLibrary(const char* path) { return LoadLibraryA(path); }
// The exports carry their 32-bit standard-call decoration.
inline std::string jniExportName(const std::string& name, int argumentBytes) {
    return "_" + name + "@" + std::to_string(argumentBytes);
}
inline AnyFunction jniSymbol(JniLibrary library, const std::string& exported) {
    return reinterpret_cast<AnyFunction>(GetProcAddress(library, exported.c_str()));
}
#else
using JniLibrary = void*;
inline JniLibrary loadJniLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
inline std::string jniExportName(const std::string& name, int) { return name; }
inline AnyFunction jniSymbol(JniLibrary library, const std::string& exported) {
    return reinterpret_cast<AnyFunction>(dlsym(library, exported.c_str()));
}
#endif

// The entry point NAME (the JVM's name for a native method), which takes
// ARGUMENT_BYTES bytes of arguments; null when the library lacks it.
template <typename Function>
Function jniEntry(JniLibrary library, const std::string& name, int argumentBytes) {
    return reinterpret_cast<Function>(jniSymbol(library, jniExportName(name, argumentBytes)));
}

// What a jstring points at here: the string's modified UTF-8 bytes.
struct JavaString {
    std::string utf;
    bool unavailable = false;
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
    // Whether an exception is pending, and the calls made while one was.
    static inline bool pending = false;
    static inline int callsWhilePending = 0;

private:
    static const char* JNICALL take(JNIEnv*, jstring string, jboolean* isCopy) {
        if (pending) ++callsWhilePending;
        if (isCopy != nullptr) *isCopy = JNI_FALSE;
        const auto* taking = reinterpret_cast<JavaString*>(string);
        if (taking->unavailable) {
            pending = true;
            return nullptr;
        }
        ++taken;
        return taking->utf.c_str();
    }
    static void JNICALL handBack(JNIEnv*, jstring, const char*) {
        if (pending) ++callsWhilePending;
        ++handedBack;
    }

    JNINativeInterface_ m_functions{};
    JNIEnv m_env{};
};
