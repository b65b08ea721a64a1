#include "platform/core/littleendian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A file's fields are written low byte first, each exactly over its own
// bytes, and read back as they were written, at any alignment.
TEST(LittleEndian, FieldsAreWrittenLowByteFirstOverTheirOwnBytesAndReadBack) {
    std::vector<std::uint8_t> bytes{0xEE};
    appendLittle32(bytes, 0x12345678);
    appendLittle16(bytes, 0xABCD);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xEE, 0x78, 0x56, 0x34, 0x12, 0xCD, 0xAB}));
    EXPECT_EQ(readLittle32(bytes.data() + 1), 0x12345678u);
    EXPECT_EQ(readLittle16(bytes.data() + 5), 0xABCDu);

    writeLittle16(bytes.data() + 2, 0x0102);
    writeLittle32(bytes.data() + 3, 0xF0E0D0C0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xEE, 0x78, 0x02, 0xC0, 0xD0, 0xE0, 0xF0}));
}
