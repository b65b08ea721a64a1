#include <string>

#include "platform/text/cp1252.h"
#include "platform/module/module.h"
#include "platform/module/moduleimage.h"
#include "platform/text/text.h"

namespace {

// An integer id, "#123" for id 123, or a name (code page 1252). false for
// a "#" that is not followed by a number that fits 16 bits: such a key
// names nothing.
bool keyOf(LPCSTR text, platform::ResourceKey& key) {
    if (IS_INTRESOURCE(text)) {
        key = platform::ResourceKey::fromId(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(text)));
        return true;
    }
    if (text[0] == '#') {
        unsigned long value = 0;
        const char* digit = text + 1;
        for (; *digit >= '0' && *digit <= '9'; ++digit) {
            value = value * 10 + static_cast<unsigned long>(*digit - '0');
            if (value > 0xFFFF) return false;
        }
        if (digit == text + 1 || *digit != '\0') return false;
        key = platform::ResourceKey::fromId(static_cast<WORD>(value));
        return true;
    }
    key = platform::ResourceKey::fromName(platform::cp1252::widen(text));
    return true;
}

HRSRC handleOf(const BYTE* entry) {
    return reinterpret_cast<HRSRC>(const_cast<BYTE*>(entry));
}

const BYTE* entryOf(HRSRC resource) { return reinterpret_cast<const BYTE*>(resource); }

// The resource behind a handle that FindResourceA gave out for module.
bool resourceOf(HMODULE module, HRSRC resource, platform::ResourceData& data) {
    const platform::PeImage* image = platform::moduleImage(module);
    if (image == nullptr) return false;
    if (!image->resourceAt(entryOf(resource), data)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

}  // namespace

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    const platform::PeImage* image = platform::moduleImage(module);
    if (image == nullptr) return nullptr;
    if (!image->hasResources()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    platform::ResourceKey typeKey;
    if (!keyOf(type, typeKey)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    platform::ResourceKey nameKey;
    if (!keyOf(name, nameKey)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    platform::ResourceData data;
    DWORD result = image->findResource(typeKey, nameKey, data);
    if (result != ERROR_SUCCESS) {
        SetLastError(result);
        return nullptr;
    }
    return handleOf(data.entry);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    platform::ResourceData data;
    if (!resourceOf(module, resource, data)) return nullptr;
    return const_cast<BYTE*>(data.data);
}

LPVOID LockResource(HGLOBAL resourceData) { return resourceData; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    platform::ResourceData data;
    if (!resourceOf(module, resource, data)) return 0;
    return data.size;
}
