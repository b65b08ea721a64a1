#include "platform/core/errortext.h"

#include <cstring>

#include "platform/core/localmemory.h"

namespace {

struct ErrorText {
    DWORD code;
    const char* text;
};

// Our own wording for each code the layer sets.
constexpr ErrorText kTexts[] = {
    {ERROR_SUCCESS, "The operation succeeded.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The file does not exist.\r\n"},
    {ERROR_PATH_NOT_FOUND, "A directory of the path does not exist.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, "Too many files are open at once.\r\n"},
    {ERROR_ACCESS_DENIED, "The file may not be read or is a directory.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle names nothing that is open.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "There is not enough memory for this operation.\r\n"},
    {ERROR_INVALID_PARAMETER, "An argument of the call is not allowed.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The buffer is too small for the result.\r\n"},
    {ERROR_MOD_NOT_FOUND, "The library file does not exist.\r\n"},
    {ERROR_BAD_EXE_FORMAT, "The file is not a Windows library or program, or it is damaged.\r\n"},
    {ERROR_MR_MID_NOT_FOUND, "There is no text for this message number.\r\n"},
    {ERROR_INVALID_FLAGS, "The flags of the call are not allowed.\r\n"},
    {ERROR_NO_UNICODE_TRANSLATION, "A character has no counterpart in the code page.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND,
     "The file holds no resources, or the resource's data is missing.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The file holds no resources of this type.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The file holds no resource of this name.\r\n"},
    {ERROR_RESOURCE_LANG_NOT_FOUND, "The resource is not there in this language.\r\n"},
    // Codes of the other services, by number: their names live with them.
    {11, "The program is not in a format that can be run.\r\n"},  // ERROR_BAD_FORMAT
    {13, "The data is not valid.\r\n"},  // ERROR_INVALID_DATA
    {29, "The file could not be written.\r\n"},  // ERROR_WRITE_FAULT
    {30, "The file could not be read.\r\n"},  // ERROR_READ_FAULT
    {32, "Another program holds the file.\r\n"},  // ERROR_SHARING_VIOLATION
    {109, "The other end of the pipe has been closed.\r\n"},  // ERROR_BROKEN_PIPE
    {112, "There is not enough room on the disk.\r\n"},  // ERROR_DISK_FULL
    {158, "The region is not locked.\r\n"},  // ERROR_NOT_LOCKED
    {161, "The path is not valid.\r\n"},  // ERROR_BAD_PATHNAME
    {206, "The file name or extension is too long.\r\n"},  // ERROR_FILENAME_EXCED_RANGE
    {234, "More data is available than the buffer holds.\r\n"},  // ERROR_MORE_DATA
    {259, "There are no more items.\r\n"},  // ERROR_NO_MORE_ITEMS
    {267, "The directory name is not valid.\r\n"},  // ERROR_DIRECTORY
    {1015, "The registry file is damaged.\r\n"},  // ERROR_REGISTRY_CORRUPT
    {1018, "The registry key has been removed.\r\n"},  // ERROR_KEY_DELETED
    {1400, "The window handle names no window.\r\n"},  // ERROR_INVALID_WINDOW_HANDLE
    {1407, "The window class does not exist.\r\n"},  // ERROR_CANNOT_FIND_WND_CLASS
    {1410, "The window class exists already.\r\n"},  // ERROR_CLASS_ALREADY_EXISTS
    {1450, "The system lacks the resources for this operation.\r\n"},  // ERROR_NO_SYSTEM_RESOURCES
};

const char* textOf(DWORD code) {
    for (const ErrorText& entry : kTexts) {
        if (entry.code == code) return entry.text;
    }
    return nullptr;
}

bool isServedLanguage(DWORD language) {
    return language == 0 || language == MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT) ||
           language == 0x0800 || language == 0x0409;
}

DWORD fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID /*source*/, DWORD messageId, DWORD languageId,
                     LPSTR buffer, DWORD size, va_list* /*arguments*/) {
    constexpr DWORD served = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                             FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY;
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (flags & ~served) != 0 ||
        buffer == nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    // A caller that frees the block after a failure then frees nothing.
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) *reinterpret_cast<LPSTR*>(buffer) = nullptr;
    if (!isServedLanguage(languageId)) return fail(ERROR_RESOURCE_LANG_NOT_FOUND);
    const char* text = textOf(messageId);
    if (text == nullptr) return fail(ERROR_MR_MID_NOT_FOUND);
    std::size_t length = std::strlen(text);

    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        SIZE_T bytes = length + 1 > size ? length + 1 : size;
        auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
        if (block == nullptr) return fail(ERROR_NOT_ENOUGH_MEMORY);
        std::memcpy(block, text, length + 1);
        *reinterpret_cast<LPSTR*>(buffer) = block;
    } else {
        if (length + 1 > size) return fail(ERROR_INSUFFICIENT_BUFFER);
        std::memcpy(buffer, text, length + 1);
    }
    return static_cast<DWORD>(length);
}
