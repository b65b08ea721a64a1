// The two kinds of sound buffer of a device: the primary buffer, which
// stands for the device's output format, and the secondary buffers that
// hold sounds. Descriptions are checked by the device before they get here.
#pragma once

#include <memory>

#include "platform/sound/dsound.h"
#include "platform/sound/mixer.h"

namespace platform::sound {

HRESULT createPrimaryBuffer(const std::shared_ptr<Mixer>& mixer, LPDIRECTSOUNDBUFFER* out);
// format: as it is given; a format that cannot be mixed is DSERR_BADFORMAT.
HRESULT createSecondaryBuffer(const std::shared_ptr<Mixer>& mixer, DWORD caps, DWORD bytes,
                              const WAVEFORMATEX& format, LPDIRECTSOUNDBUFFER* out);

}  // namespace platform::sound
