#include "audio/dsounderror.h"

#include <gtest/gtest.h>

#include "audio/audio_testenv.h"

namespace {

TEST(PrintDSoundError, NamesTheCodesOfTheTableAndNumbersTheRest) {
    struct Case {
        std::uint32_t code;
        int mark;
        const char* line;
    };
    const Case cases[] = {
        {0x00000000, 210, "DSound Error [mark  210]: NO ERROR"},
        {0x88780096, 220, "DSound Error [mark  220]: DSERR_BUFFERLOST"},
        {0x8878000A, 3010, "DSound Error [mark 3010]: DSERR_ALLOCATED"},
        {0x88780078, 110, "DSound Error [mark  110]: DSERR_NODRIVER"},
        {0x80004005, 4020, "DSound Error [mark 4020]: DSERR_GENERIC"},
        {0x88781161, 1, "DSound Error [mark    1]: DSERR_OBJECTNOTFOUND"},
        {0x88780001, 7, "DSound Error [mark    7]: 2289565697"},
        // A success code other than 0 has no name either.
        {0x00000001, 230, "DSound Error [mark  230]: 1"},
        {0xFFFFFFFF, 12345, "DSound Error [mark 12345]: 4294967295"},
    };
    for (const Case& c : cases) {
        TraceLog log;
        printDSoundError(static_cast<HRESULT>(c.code), c.mark);
        EXPECT_EQ(log.lines(), std::vector<std::string>{c.line});
    }
}

}  // namespace
