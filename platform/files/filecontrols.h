// The file service's test controls. Each count lives beside the call it
// makes fail; tests reach them through platform/testing.h.
#pragma once

namespace platform::testing {

// The next count calls of ReadFile fail with ERROR_READ_FAULT and read
// nothing; 0 ends a run of failures early.
void failNextFileReads(int count);

// The next count binary streams that _fsopen opens find no memory to be
// remembered in: _fsopen closes each and answers NULL with ENOMEM.
void failNextBinaryStreamRecords(int count);

}  // namespace platform::testing
