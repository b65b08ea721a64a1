/* The machine-dependent JNI definitions for 32-bit Windows, which the JDK
   here does not carry (its jni.h is the same on every platform). */
#ifndef QUILL_WINDOWS_JNI_MD_H
#define QUILL_WINDOWS_JNI_MD_H

/* The module-definition file is the export list, with the exact names and
   ordinals; with dllexport here GCC would add a second, undecorated one. */
#define JNIEXPORT
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
