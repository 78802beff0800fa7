#include "workspace/ExtendedFile.h"
#include "support/TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(ExtendedFile, OneIsStoredAsItsTenLittleEndianBytes) {
    unsigned char bytes[ExtendedBytes];
    encodeExtended(1.0L, bytes);
    const unsigned char expected[ExtendedBytes] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(0, memcmp(bytes, expected, ExtendedBytes));
    encodeExtended(-2.0L, bytes);
    EXPECT_EQ(0xC0, bytes[9]);
    EXPECT_EQ(0x00, bytes[8]);
}

TEST(ExtendedFile, EveryBitOfTheExtendedRealSurvivesARoundTrip) {
    const Extended values[] = {0.1L,
                               -0.0L,
                               std::numeric_limits<Extended>::denorm_min(),
                               std::numeric_limits<Extended>::max(),
                               1.0L / 3,
                               std::numeric_limits<Extended>::infinity()};
    for (Extended value : values) {
        unsigned char bytes[ExtendedBytes];
        encodeExtended(value, bytes);
        Extended back = decodeExtended(bytes);
        EXPECT_EQ(0, memcmp(&value, &back, ExtendedBytes)) << static_cast<double>(value);
    }
}

TEST(ExtendedFile, AnUnnormalEncodingReadsAsNaN) {
    unsigned char bytes[ExtendedBytes] = {0, 0, 0,    0,    0,
                                          0, 0, 0x40, 0xFF, 0x3F}; // integer bit clear
    EXPECT_TRUE(std::isnan(decodeExtended(bytes)));
}

TEST(ExtendedFile, CountsAreRoundedAndRefusedWhenNotFiniteOrOutOfRange) {
    EXPECT_EQ(3u, roundedCount(2.6L, 10));
    EXPECT_EQ(2u, roundedCount(2.5L, 10)); // ties to even
    EXPECT_EQ(0u, roundedCount(-0.4L, 10));
    EXPECT_FALSE(roundedCount(-1, 10));
    EXPECT_FALSE(roundedCount(11, 10));
    EXPECT_FALSE(roundedCount(1e18L, 1000));
    EXPECT_FALSE(roundedCount(std::numeric_limits<Extended>::quiet_NaN(), 10));
    EXPECT_FALSE(roundedCount(std::numeric_limits<Extended>::infinity(), 10));
}

TEST(ExtendedFile, ReaderCountsTheNumbersAndNoticesTrailingBytes) {
    TempFolder folder;
    ExtendedFileWriter out;
    for (int i = 0; i < 5000; ++i)
        out.put(static_cast<Extended>(i) / 7);
    ASSERT_TRUE(out.save(folder.path("a.elm")));
    ExtendedFileReader in;
    ASSERT_TRUE(in.open(folder.path("a.elm")));
    EXPECT_EQ(5000u, in.remaining());
    EXPECT_FALSE(in.hasTrailingBytes());
    std::vector<Extended> values(5000);
    ASSERT_TRUE(in.read(values.data(), values.size()));
    EXPECT_EQ(4999.0L / 7, values.back());
    EXPECT_FALSE(in.next());

    writeBytes(folder.path("b.elm"), readBytes(folder.path("a.elm")) + "xyz");
    ASSERT_TRUE(in.open(folder.path("b.elm")));
    EXPECT_EQ(5000u, in.remaining());
    EXPECT_TRUE(in.hasTrailingBytes());
    EXPECT_FALSE(ExtendedFileReader().open(folder.path("missing.elm")));
    EXPECT_FALSE(ExtendedFileReader().open(folder.path("")));
}
