#include "audio/fileimage.h"

#include <cstdlib>

HANDLE openForReading(const char* fileName) {
    return CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

const BYTE* lockResourceImage(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size) {
    *size = 0;
    if (module == nullptr) {
        module = GetModuleHandleA(nullptr);
    }
    HRSRC resource = FindResourceA(module, name, type);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const BYTE* image = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (image != nullptr) {
        *size = SizeofResource(module, resource);
    }
    return image;
}

BYTE* readFileImage(HANDLE file, DWORD* size) {
    *size = 0;
    const DWORD fileSize = GetFileSize(file, nullptr);
    // A zero-byte file still gets a block of its own, so that null means failure.
    BYTE* image = fileSize == INVALID_FILE_SIZE
                      ? nullptr
                      : static_cast<BYTE*>(std::malloc(fileSize == 0 ? 1 : fileSize));
    DWORD read = 0;
    if (image != nullptr &&
        (!ReadFile(file, image, fileSize, &read, nullptr) || read != fileSize)) {
        std::free(image);
        image = nullptr;
    }
    CloseHandle(file);
    if (image != nullptr) {
        *size = fileSize;
    }
    return image;
}
