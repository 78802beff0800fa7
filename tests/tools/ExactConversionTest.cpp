// The split of extended values into significand and exponent, its way back with every refusal,
// and the decimal text that reads back as the same bits.
#include "tools/ExactConversion.h"
#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

// The bits of an extended value: the 64-bit significand and the sign with the exponent.
std::pair<std::uint64_t, std::uint16_t> bitsOf(Extended value) {
    std::uint64_t significand;
    std::uint16_t signAndExponent;
    std::memcpy(&significand, &value, sizeof significand);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + 8,
                sizeof signAndExponent);
    return {significand, signAndExponent};
}

Extended extendedFromBits(std::uint64_t significand, std::uint16_t signAndExponent) {
    Extended value = 0;
    std::memcpy(&value, &significand, sizeof significand);
    std::memcpy(reinterpret_cast<char*>(&value) + 8, &signAndExponent, sizeof signAndExponent);
    return value;
}

std::string refusal(const std::string& mantissa, const std::string& exponent) {
    PartsReading reading = readExtendedParts(mantissa, exponent, false);
    EXPECT_FALSE(reading.value) << mantissa << " " << exponent;
    return reading.message;
}

} // namespace

TEST(ExactConversion, TenthBothWays) {
    ExtendedParts tenth = extendedParts(0.1L);
    EXPECT_EQ(tenth.mantissa, "CCCCCCCCCCCCCCCD");
    EXPECT_EQ(tenth.exponent, -3);
    EXPECT_FALSE(tenth.negative);
    PartsReading back = readExtendedParts("CCCCCCCCCCCCCCCD", "-3", false);
    ASSERT_TRUE(back.value);
    EXPECT_EQ(*back.value, 0.1L);
    DecimalText text = exactDecimal(*back.value);
    EXPECT_EQ(text.text, "0.1");
    EXPECT_EQ(text.note, "");
    // Short mantissas are padded with zeros on the right; lower-case digits read as well.
    EXPECT_EQ(readExtendedParts("c", "1", false).value, 0.75L * 2);
    EXPECT_EQ(readExtendedParts(" 8 ", " 0 ", false).value, 0.5L);
}

TEST(ExactConversion, SignTravelsBesideTheMagnitude) {
    ExtendedParts negative = extendedParts(-0.1L);
    EXPECT_EQ(negative.mantissa, "CCCCCCCCCCCCCCCD");
    EXPECT_EQ(negative.exponent, -3);
    EXPECT_TRUE(negative.negative);
    EXPECT_EQ(readExtendedParts(negative.mantissa, "-3", negative.negative).value, -0.1L);
    EXPECT_EQ(exactDecimal(-0.1L).text, "-0.1");
    Extended third = -1.0L / 3;
    EXPECT_EQ(parseNumber(exactDecimal(third).text), third);
}

TEST(ExactConversion, RefusalsAndTheirMessages) {
    EXPECT_EQ(refusal("", "1"), "Hexadecimal mantissa empty");
    EXPECT_EQ(refusal("8", " "), "Decimal exponent empty");
    EXPECT_EQ(refusal("7FFF", "1"), "Mantissa's first digit must be >= 8");
    EXPECT_EQ(refusal("0", "1"), "") << "a zero mantissa is refused without a message";
    EXPECT_EQ(refusal("0000", "1"), "");
    EXPECT_EQ(refusal("CCCCCCCCCCCCCCCCD", "-3"),
              "Hexadecimal mantissa must have no more than 16 digits");
    EXPECT_EQ(refusal("8", "1.5"), "Wrong exponent");
    EXPECT_EQ(refusal("8", "x"), "Wrong exponent");
    EXPECT_EQ(refusal("8", "99999999999"), "Wrong exponent");
    EXPECT_EQ(refusal("8G", "1"), "Wrong hexadecimal mantissa");
    EXPECT_EQ(refusal("Z", "1"), "Wrong hexadecimal mantissa");
    // Exponents beyond the type's range would give infinity or lose bits.
    EXPECT_EQ(refusal("8", "16385"), "Wrong exponent");
    EXPECT_EQ(refusal("8000000000000001", "-16400"), "Wrong exponent");
    EXPECT_EQ(readExtendedParts("8", "16384", false).value, std::ldexp(0.5L, 16384))
        << "the largest binary exponent is accepted";
}

TEST(ExactConversion, TextsFromRoundingUpAreLoweredAndRefined) {
    // 2/3 prints as ...667 at 18 digits, above the value: the refinement starts below it.
    Extended twoThirds = 2.0L / 3;
    DecimalText text = exactDecimal(twoThirds);
    EXPECT_EQ(text.note, "");
    EXPECT_EQ(parseNumber(text.text), twoThirds);
    EXPECT_EQ(text.text.rfind("0.66666666666666666", 0), 0u) << text.text;
    // Extremes of the range, in exponent form.
    for (Extended value :
         {std::numeric_limits<Extended>::max(), std::numeric_limits<Extended>::min(),
          std::numeric_limits<Extended>::denorm_min(), 1e300L / 7}) {
        DecimalText extreme = exactDecimal(value);
        EXPECT_EQ(extreme.note, "") << extreme.text;
        EXPECT_EQ(parseNumber(extreme.text), value) << extreme.text;
    }
}

TEST(ExactConversion, RandomValuesReadBackToTheSameBits) {
    std::mt19937_64 random(16);
    // Every twentieth value anywhere in the range, the others within 2^±200 (reading back texts
    // with exponents in the thousands is slow work for the library).
    std::uniform_int_distribution<int> anyExponent(1, 0x7FFE);
    std::uniform_int_distribution<int> nearExponent(0x3FFF - 200, 0x3FFF + 200);
    for (int k = 0; k < 100000; ++k) {
        // Normal values: top significand bit set, any sign.
        std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        int exponent = k % 20 == 0 ? anyExponent(random) : nearExponent(random);
        auto signAndExponent = static_cast<std::uint16_t>(exponent | ((random() & 1) << 15));
        Extended value = extendedFromBits(significand, signAndExponent);
        DecimalText text = exactDecimal(value);
        std::optional<Extended> back = parseNumber(text.text);
        ASSERT_TRUE(back) << text.text;
        ASSERT_EQ(bitsOf(*back), bitsOf(value)) << text.text << " " << text.note;
        ExtendedParts parts = extendedParts(value);
        ASSERT_EQ(
            readExtendedParts(parts.mantissa, std::to_string(parts.exponent), parts.negative).value,
            value);
    }
}
