#include "audio/dsounderror.h"

#include <cstdint>

#include "common/logger.h"

namespace {

struct ResultName {
    std::uint32_t code;
    const char* name;
};

const ResultName resultNames[] = {
    {0x00000000, "NO ERROR"},
    {0x80004001, "DSERR_UNSUPPORTED"},
    {0x80004002, "DSERR_NOINTERFACE"},
    {0x80004005, "DSERR_GENERIC"},
    {0x80040110, "DSERR_NOAGGREGATION"},
    {0x80070005, "DSERR_ACCESSDENIED"},
    {0x8007000E, "DSERR_OUTOFMEMORY"},
    {0x80070057, "DSERR_INVALIDPARAM"},
    {0x8878000A, "DSERR_ALLOCATED"},
    {0x8878001E, "DSERR_CONTROLUNAVAIL"},
    {0x88780032, "DSERR_INVALIDCALL"},
    {0x88780046, "DSERR_PRIOLEVELNEEDED"},
    {0x88780064, "DSERR_BADFORMAT"},
    {0x88780078, "DSERR_NODRIVER"},
    {0x88780082, "DSERR_ALREADYINITIALIZED"},
    {0x88780096, "DSERR_BUFFERLOST"},
    {0x887800A0, "DSERR_OTHERAPPHASPRIO"},
    {0x887800AA, "DSERR_UNINITIALIZED"},
    {0x887800B4, "DSERR_BUFFERTOOSMALL"},
    {0x887800BE, "DSERR_DS8_REQUIRED"},
    {0x887800C8, "DSERR_SENDLOOP"},
    {0x887800D2, "DSERR_BADSENDBUFFERGUID"},
    {0x887800DC, "DSERR_FXUNAVAILABLE"},
    {0x88781161, "DSERR_OBJECTNOTFOUND"},
};

}  // namespace

const char* dsoundErrorName(HRESULT result) {
    const auto code = static_cast<std::uint32_t>(result);
    for (const ResultName& entry : resultNames) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return nullptr;
}

void printDSoundError(HRESULT result, int mark) {
    const char* name = dsoundErrorName(result);
    if (name != nullptr) {
        logPrint(1, "DSound Error [mark %4d]: %s\n", mark, name);
    } else {
        logPrint(1, "DSound Error [mark %4d]: %lu\n", mark,
                 static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    }
}
