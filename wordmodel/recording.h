// Where a word's recordings live: the recording libraries and loose files.
//
// A recording name ("w1234a": a leading character, a number, an optional
// variant letter) addresses library number number / 1000 + 1 and, in it, the
// resource id 1000 + 3 * (number mod 1000) + variant. The names built here
// are Windows-form narrow text in the ANSI code page: the media directory as
// given to the set-up (it must end with its own "\"), the language directory,
// and the file.
//
// Loaded libraries stay in a process-wide cache (resourceDllCache: one row of
// resourceDllsPerLanguage handles per language, made by the first load) until
// the process ends, unless one is freed to make room when memory runs short.
// The cache is not locked: calls must not overlap.
//
// Only the languages 1 to 3 have recordings. Any other language is refused
// with an "ERROR: " line on standard output and answers the empty text or
// null. The record's own operations are in word.h.
#pragma once

#include <string>

#include "platform/win32.h"
#include "wordmodel/library.h"

// Libraries a language can have: library numbers 1 to 50.
constexpr int resourceDllsPerLanguage = 50;

// What an audio kind stores where. An unknown kind gives four empty texts.
struct AudioKindInfo {
    const char* directory;     // below the language directory: "mp3\center"
    const char* extension;     // of loose files: "mp3"
    const char* resourceType;  // in the libraries: "MP3"
    const char* code;          // in library names: "mc"
};
const AudioKindInfo& audioKindInfo(AudioKind kind);

// The file of library number ixDll + 1 of a language for an audio kind, as
// mediaDirectory + "de_de\aud_de_de_mc_02.dll". Prints a trace line on
// standard output.
std::string createCompleteDllFileName(LanguageId language, AudioKind kind, int ixDll);

// The library ixDll (library number - 1) of a language for the configured
// audio kind, loaded on first use; null when the index is outside the cache
// or the library cannot be loaded, after an "ERROR: " line (the load failure
// also goes to the log). A failed load is tried again by the next call.
HMODULE loadResourceDll(LanguageId language, int ixDll);

// "FAILED with error <n>: <system text>" for the calling thread's last
// error; the system text keeps its own line end and is empty when the system
// has none for the code.
std::string formatLastError();
