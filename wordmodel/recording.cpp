#include "wordmodel/recording.h"

#include <algorithm>
#include <cstdio>

#include "common/errors.h"
#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "wordmodel/word.h"
#include "wordmodel/wordtables.h"

namespace {

const AudioKindInfo audioKinds[] = {
    {"", "", "", ""},
    {"wav\\right", "wav", "WAVE", "wr"},
    {"wav\\center", "wav", "WAVE", "wc"},
    {"mp3\\right", "mp3", "MP3", "mr"},
    {"mp3\\center", "mp3", "MP3", "mc"},
};
constexpr int audioKindCount = sizeof audioKinds / sizeof audioKinds[0];

// The cache has a row for the spare fourth language slot too, as the
// per-language arrays do; no language with recordings uses it.
constexpr int cacheRows = languageSlotCount;

// The number part of a recording name has room for this many characters,
// its terminator included.
constexpr std::size_t numberBufferSize = 1024;

// The slot of a language that has recordings (1 to 3), or -1 after saying
// why. The language directories, the cache rows and the per-language arrays
// are all indexed by it.
int recordingSlot(LanguageId language) {
    if (language >= languageEnglish && language <= languagePolish) {
        return language - 1;
    }
    std::printf("ERROR: language out of range language=%d\n", language);
    std::fflush(stdout);
    return -1;
}

}  // namespace

const AudioKindInfo& audioKindInfo(AudioKind kind) {
    return kind > 0 && kind < audioKindCount ? audioKinds[kind] : audioKinds[0];
}

std::string createCompleteDllFileName(LanguageId language, AudioKind kind, int ixDll) {
    if (recordingSlot(language) < 0) {
        return std::string();
    }
    std::printf("createCompleteDllFileName 000: %d %d %d\n", language, audioKind, ixDll);
    // Widened so that the last index still has a successor; the number is
    // never cut, however many digits it has.
    const std::string number = formatString("%02lld", static_cast<long long>(ixDll) + 1);
    return toNarrowAcp(mediaDirectory) + toNarrowAcp(tokenTable[language]) + "\\aud_" +
           toNarrowAcp(languageCode(language)) + "_" + audioKindInfo(kind).code + "_" + number +
           ".dll";
}

HMODULE loadResourceDll(LanguageId language, int ixDll) {
    if (resourceDllCache.empty()) {
        resourceDllCache.assign(cacheRows,
                                std::vector<HMODULE>(resourceDllsPerLanguage, nullptr));
    }
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return nullptr;
    }
    std::vector<HMODULE>& row = resourceDllCache[slot];
    if (ixDll < 0 || ixDll >= static_cast<int>(row.size())) {
        std::printf("ERROR: dll index out of range ixDll=%d\n", ixDll);
        std::fflush(stdout);
        return nullptr;
    }
    const std::string name = createCompleteDllFileName(language, audioKind, ixDll);
    HMODULE& entry = row[ixDll];
    while (entry == nullptr) {
        entry = LoadLibraryA(name.c_str());
        if (entry != nullptr || GetLastError() != ERROR_NOT_ENOUGH_MEMORY) {
            break;
        }
        // Room comes from the same language's other libraries, lowest first;
        // library 0, with the first thousand recordings, always stays.
        std::size_t victim = 1;
        while (victim < row.size() &&
               (row[victim] == nullptr || victim == static_cast<std::size_t>(ixDll))) {
            ++victim;
        }
        if (victim == row.size()) {
            break;
        }
        FreeLibrary(row[victim]);
        row[victim] = nullptr;
    }
    if (entry == nullptr) {
        const std::string error = formatLastError();
        logPrint(1, "ERROR: Could not load DLL %s => %s\n", name.c_str(), error.c_str());
        std::printf("ERROR: Could not load DLL %s => %s\n", name.c_str(), error.c_str());
        std::fflush(stdout);
    }
    return entry;
}

std::string formatLastError() {
    const DWORD error = GetLastError();
    return formatString("FAILED with error %d: %s", static_cast<int>(error),
                        systemMessage(error).c_str());
}

int LX_Word::getAudioVariant(LanguageId language) const {
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return -1;
    }
    const std::wstring& name = m_audioName[slot];
    if (name.empty()) {
        return 0;
    }
    const wchar_t last = name.back();
    if (last == L'a' || last == L'A') return 0;
    if (last == L'b' || last == L'B') return 1;
    if (last == L'c' || last == L'C') return 2;
    return isAsciiDigit(last) ? 1 : 0;
}

int LX_Word::getAudioNumber(LanguageId language) const {
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return -1;
    }
    const std::wstring& name = m_audioName[slot];
    if (name.empty()) {
        return -1;
    }
    const std::size_t length =
        std::min(name.size() - (isAsciiDigit(name.back()) ? 0 : 1), numberBufferSize - 1);
    // The first character is the name's prefix, never a digit of the number.
    return wstringToInt(length > 1 ? name.substr(1, length - 1) : std::wstring());
}

void LX_Word::setAudioName(LanguageId language, const std::wstring& name) {
    if (name.empty()) {
        return;
    }
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return;
    }
    m_audioName[slot] = name;
    // In 64 bits: three times a number near the int limit does not fit, yet
    // the resource id itself always does.
    const long long number = getAudioNumber(language);
    const long long library = number / 1000 + 1;
    m_dllIndex[slot] = static_cast<int>(library);
    m_resourceId[slot] =
        static_cast<int>(3 * number + getAudioVariant(language) + 1000 - 3000 * (library - 1));
}

std::string LX_Word::getResourceDllName(LanguageId language) const {
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return std::string();
    }
    return createCompleteDllFileName(language, audioKind, m_dllIndex[slot] - 1);
}

std::string LX_Word::getAudioFilePath(LanguageId language, AudioKind kind) const {
    const int slot = recordingSlot(language);
    if (slot < 0) {
        return std::string();
    }
    const AudioKindInfo& info = audioKindInfo(kind);
    return toNarrowAcp(mediaDirectory + tokenTable[language]) + "\\" + info.directory + "\\" +
           toNarrowAcp(m_audioName[slot]) + "." + info.extension;
}

HMODULE LX_Word::getResourceModule() const {
    const int slot = recordingSlot(m_language);
    if (slot < 0) {
        return nullptr;
    }
    return loadResourceDll(m_language, m_dllIndex[slot] - 1);
}

void LX_Word::findWaveResource(LanguageId language, int ixDll, const std::wstring& text,
                               LanguageId wordLanguage) {
    const int slot = recordingSlot(wordLanguage);
    if (slot < 0) {
        return;
    }
    HMODULE module = loadResourceDll(language, ixDll);
    if (module == nullptr) {
        return;
    }
    if (FindResourceA(module, MAKEINTRESOURCEA(static_cast<ULONG_PTR>(m_resourceId[slot])),
                      "WAVE") != nullptr) {
        return;
    }
    const std::string error = formatLastError();
    m_hasError = true;
    logPrint(1, "ERROR: \"%20s\" has no resource entry: %s -> lang %d, dll %d, id %d => %s\n",
             toNarrowAcp(m_wordText[slot]).c_str(), toNarrowAcp(m_audioName[slot]).c_str(),
             m_language, m_dllIndex[slot], m_resourceId[slot], error.c_str());
    logPrint(1, "   %s\n", toNarrowAcp(text).c_str());
}
