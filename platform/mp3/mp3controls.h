// The test controls of the MP3 conversion, the media reader and COM streams
// on global memory. Each count lives beside the call it makes fail;
// tests reach them through platform/testing.h.
#pragma once

#include <functional>

#include "platform/core/types.h"

namespace platform::testing {

// The next count calls of GlobalAlloc fail with ERROR_NOT_ENOUGH_MEMORY;
// 0 ends a run of failures early. The same holds for the calls below.
void failNextGlobalAllocs(int count);
// CreateStreamOnHGlobal answers E_OUTOFMEMORY and makes no stream.
void failNextStreamCreations(int count);
// WMCreateSyncReader answers E_OUTOFMEMORY and makes no reader.
void failNextSyncReaderCreations(int count);
// A sync reader's QueryInterface for IWMHeaderInfo answers E_NOINTERFACE.
void failNextHeaderInfoQueries(int count);
// GetAttributeByName for "Duration" answers ASF_E_NOTFOUND, as for a clip
// whose length the reader cannot tell.
void failNextDurationQueries(int count);
// acmStreamOpen answers result (an MMRESULT) and opens nothing.
void failNextAcmStreamOpens(int count, UINT result);

// The next Read of a stream on global memory calls whileReading once it
// has found its block, just before it copies from it, as another thread
// could run there.
void holdNextStreamRead(std::function<void()> whileReading);

}  // namespace platform::testing
