#include "common/NumberText.h"

#include <gtest/gtest.h>

TEST(NumberText, DisplayFormUsesEighteenDigitsAndATidyExponent) {
    EXPECT_EQ(formatDisplay(0.1L), "0.1");
    EXPECT_EQ(formatDisplay(123.0L), "123");
    EXPECT_EQ(formatDisplay(-2.5L), "-2.5");
    EXPECT_EQ(formatDisplay(0), "0");
    EXPECT_EQ(formatDisplay(1.5e-7L), "1.5e-7");
    EXPECT_EQ(formatDisplay(-1e20L), "-1e20");
    EXPECT_EQ(formatDisplay(1.0L / 3), "0.333333333333333333");
    EXPECT_EQ(formatDisplay(1e17L), "100000000000000000");
    EXPECT_EQ(formatDisplay(1e18L), "1e18");
    EXPECT_EQ(formatDisplay(0.00001L), "0.00001");
}

TEST(NumberText, ShortFormHasSixDigits) {
    EXPECT_EQ(formatShort(1.9088869L), "1.90889");
    EXPECT_EQ(formatShort(1e-10L), "1e-10");
    EXPECT_EQ(formatShort(-3.25e100L), "-3.25e100");
    EXPECT_EQ(formatShort(10), "10");
}

TEST(NumberText, ExponentCleanUpKeepsOtherText) {
    EXPECT_EQ(cleanExponent("x = 1.5E+05, y = -2e-07"), "x = 1.5e5, y = -2e-7");
    EXPECT_EQ(cleanExponent("1e+00"), "1e0");
    EXPECT_EQ(cleanExponent("Rel. error"), "Rel. error");
    EXPECT_EQ(formatExponent(1e20L), "1.00000000000000000e20");
}

TEST(NumberText, ReaderAcceptsOnlyCompleteDecimalNumbers) {
    EXPECT_EQ(parseNumber("1.5e3"), 1500.0L);
    EXPECT_EQ(parseNumber("1.5E+3"), 1500.0L);
    EXPECT_EQ(parseNumber(".5"), 0.5L);
    EXPECT_EQ(parseNumber("5."), 5.0L);
    EXPECT_EQ(parseNumber("-0.1"), -0.1L);
    EXPECT_EQ(parseNumber("+7"), 7.0L);
    EXPECT_EQ(parseNumber("1e-5000"), 0.0L);
    for (const char* bad :
         {"", "1e", "e5", ".", "-", "1.2.3", "0x10", "inf", "nan", " 1", "1 ", "1e+", "1e99999"})
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
    EXPECT_EQ(parseTrimmedNumber("  2.5\t"), 2.5L);
}

TEST(NumberText, IntegerReader) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger("-3"), -3);
    EXPECT_FALSE(parseInteger("4.2").has_value());
    EXPECT_FALSE(parseInteger("").has_value());
    EXPECT_FALSE(parseInteger("99999999999999999999").has_value());
}
