#include "platform/mp3/cominit.h"

namespace {

thread_local int initialisations = 0;

}  // namespace

HRESULT CoInitialize(LPVOID) {
    return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initialisations > 0) --initialisations;
}
