// COM basics shared by the services that hand out interfaces (DirectSound,
// the media reader, streams): result codes, GUIDs and IUnknown.
//
// Interfaces are C++ classes with pure virtual methods, as the SDK declares
// them for C++; each object counts its references and deletes itself when
// Release drops the last one.
#pragma once

#include <atomic>

#include "platform/core/types.h"

#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT

constexpr HRESULT quillHresult(std::uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = quillHresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = quillHresult(0x80004002u);
constexpr HRESULT E_POINTER = quillHresult(0x80004003u);
constexpr HRESULT E_FAIL = quillHresult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = quillHresult(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = quillHresult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = quillHresult(0x80070057u);

constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFGUID = const GUID&;
using LPGUID = GUID*;
using LPCGUID = const GUID*;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
}
inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }

class IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

extern const IID IID_IUnknown;

namespace platform {

// One interface of a COM object: the class the object derives from, and the
// IIDs that QueryInterface answers with it: its own, and those of the
// interfaces it extends.
template <class Interface, const IID&... Ids>
struct ComInterface {
    using Type = Interface;
    static bool answers(REFIID iid) { return ((iid == Ids) || ...); }
};

// IUnknown of an object behind the interfaces named (ComInterface):
// QueryInterface answers each one's IIDs with it and IUnknown with the
// first, and the last Release deletes the object, whose destructor does
// what the last release must.
template <class First, class... More>
class ComObjectOf : public First::Type, public More::Type... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = iid == IID_IUnknown ? static_cast<typename First::Type*>(this)
                                      : answer<First, More...>(iid);
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObjectOf() = default;
    virtual ~ComObjectOf() = default;

private:
    template <class Face, class... Rest>
    void* answer(REFIID iid) {
        if (Face::answers(iid)) return static_cast<typename Face::Type*>(this);
        if constexpr (sizeof...(Rest) > 0) {
            return answer<Rest...>(iid);
        } else {
            return nullptr;
        }
    }

    std::atomic<ULONG> m_references{1};
};

// The object behind one interface and its own IID.
template <class Interface, const IID& InterfaceId>
using ComObject = ComObjectOf<ComInterface<Interface, InterfaceId>>;

}  // namespace platform
