#include "compiler/Language.h"
#include "common/FloatFaults.h"
#include "compiler/Lexer.h"
#include "compiler/ScalarRoutines.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> tokensOf(const std::string& text) {
    Lexer lexer;
    lexer.start(text);
    std::vector<std::string> tokens;
    for (lexer.NextToken(); !lexer.Token.empty(); lexer.NextToken())
        tokens.emplace_back(lexer.Token);
    return tokens;
}

using Tokens = std::vector<std::string>;

} // namespace

TEST(CleanLine, DropsBlanksAndCommentsAndLowersCase) {
    EXPECT_EQ(CleanLine("  Vel = 8.6 *\t1 "), "vel=8.6*1");
    EXPECT_EQ(CleanLine("x = 1 000"), "x=1000");
    EXPECT_EQ(CleanLine("a = 1 {the first}"), "a=1");
    EXPECT_EQ(CleanLine("{note} a = 1 {more}"), "a=1");
    // A "}" before the only "{" is no comment: both braces stay and the line fails to parse.
    EXPECT_EQ(CleanLine("}a = 1{"), "}a=1{");
    EXPECT_EQ(CleanLine("a = 1 {unclosed"), "a=1{unclosed");
}

TEST(CleanLine, BraceCommentsNest) {
    EXPECT_EQ(CleanLine("a = 3 {c{n}} + 4"), "a=3+4");
    EXPECT_EQ(CleanLine("a = {x{y}z}1{p}{q{r{s}}}"), "a=1");
    // Only the group that closes is a comment: the outer "{" left open keeps the line failing.
    EXPECT_EQ(CleanLine("a = 1 {open {inner}"), "a=1{open");
    EXPECT_EQ(CleanLine("a = 1 {x}} + 2"), "a=1}+2");
}

TEST(Lexer, TakesTheLongestPrefixThatIsANumber) {
    EXPECT_EQ(tokensOf("1.5e3"), Tokens({"1.5e3"}));
    EXPECT_EQ(tokensOf("1.5E+3*2"), Tokens({"1.5E+3", "*", "2"}));
    EXPECT_EQ(tokensOf(".5"), Tokens({".5"}));
    EXPECT_EQ(tokensOf("1e"), Tokens({"1", "e"}));
    EXPECT_EQ(tokensOf("3-1e2"), Tokens({"3", "-", "1e2"}));
    EXPECT_EQ(tokensOf("2+3"), Tokens({"2", "+", "3"}));
    EXPECT_EQ(tokensOf("e5+x"), Tokens({"e5", "+", "x"}));
    EXPECT_EQ(tokensOf("2x"), Tokens({"2", "x"}));
    EXPECT_EQ(tokensOf("1.2.3"), Tokens({"1.2", ".3"}));
    EXPECT_EQ(tokensOf("x.y"), Tokens({"x.y"}));
    EXPECT_EQ(tokensOf("a_b"), Tokens({"a", "_", "b"}));
    EXPECT_EQ(tokensOf("x'"), Tokens({"x", "'"}));
    EXPECT_EQ(tokensOf("5.e2"), Tokens({"5.e2"}));
}

TEST(Lexer, StopsANumberBeforeItOverflows) {
    // 1e999 still fits the extended range, 1e9999 does not.
    EXPECT_EQ(tokensOf("1e99999"), Tokens({"1e999", "99"}));
    // Underflow reads as zero, so a long negative exponent stays whole.
    EXPECT_EQ(tokensOf("1e-99999"), Tokens({"1e-99999"}));
    // 1 followed by 4932 zeros fits, one more zero does not.
    std::string digits = "1" + std::string(6000, '0');
    auto tokens = tokensOf(digits);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].size(), 4933u);
    // An overflowing exponent falls back to the mantissa's own digits.
    EXPECT_EQ(tokensOf(digits + "e5")[0].size(), 4933u);
}

TEST(Lexer, KeepsAMultiByteCharacterWhole) {
    EXPECT_EQ(tokensOf("x\xc3\xa9y"), Tokens({"x", "\xc3\xa9", "y"}));
}

TEST(Language, OperandsAndNames) {
    EXPECT_TRUE(ValidOperand("x_1"));
    EXPECT_TRUE(ValidOperand("_a"));
    EXPECT_TRUE(ValidOperand("2.5e-3"));
    EXPECT_FALSE(ValidOperand("x.y"));
    EXPECT_FALSE(ValidOperand("."));
    EXPECT_FALSE(ValidOperand("1a"));
    EXPECT_FALSE(isValidIdentifier("2a"));
    EXPECT_EQ(functionIndex("MCN"), 11);
    EXPECT_EQ(functionIndex("abs"), 13);
    EXPECT_EQ(functionIndex("sinx"), -1);
    EXPECT_EQ(OpName(11), "mCn");
    EXPECT_EQ(OpName('^'), "^");
    EXPECT_TRUE(NeedsSecondOperand(8) && NeedsSecondOperand(10) && NeedsSecondOperand(11));
    EXPECT_FALSE(NeedsSecondOperand(12));
}

TEST(ScalarRoutines, FactorialRoundsItsArgument) {
    EXPECT_EQ(Factorial(3), 6);
    EXPECT_EQ(Factorial(2.6L), 6);
    EXPECT_EQ(Factorial(2.5L), 2); // ties go to even
    EXPECT_EQ(Factorial(3.5L), 24);
    EXPECT_EQ(Factorial(-4), 1);
    EXPECT_EQ(Factorial(20), 2432902008176640000.0L);
    // A huge argument ends at the overflow instead of counting to it.
    EXPECT_TRUE(std::isinf(Factorial(1e30L)));
}

TEST(ScalarRoutines, BinomialCoefficients) {
    EXPECT_EQ(Binomial(5, 2), 10);
    EXPECT_EQ(Binomial(2, 5), 0);
    EXPECT_EQ(Binomial(5, 0), 1);
    EXPECT_EQ(Binomial(5, 5), 1);
    EXPECT_EQ(Binomial(5.5L, 1), 5.5L);
    EXPECT_EQ(Binomial(-1, -2), 0);
    EXPECT_EQ(Binomial(10, 7), 120);
    EXPECT_NEAR(static_cast<double>(Binomial(4.5L, 2)), 4.5 * 3.5 / 2, 1e-15);
    EXPECT_TRUE(std::isinf(Binomial(1e18L, 5e17L)));
}

TEST(ScalarRoutines, ModuloHasTheSignOfTheDivisor) {
    EXPECT_EQ(Modulo(7, 3), 1);
    EXPECT_EQ(Modulo(-7, 3), 2);
    EXPECT_EQ(Modulo(7, -3), -2);
    EXPECT_EQ(Modulo(5.5L, 2), 1.5L);
    // A quotient beyond 32 bits is still floored correctly.
    EXPECT_EQ(Modulo(1e10L, 3), 1);
    EXPECT_EQ(Modulo(-1e10L, 3), 2);
    // Exact beyond a 64-bit quotient: 10^20 = 7 * 14285714285714285714 + 2 and 2^70 = 1 mod 3.
    EXPECT_EQ(Modulo(1e20L, 7), 2);
    EXPECT_EQ(Modulo(-1e20L, 7), 5);
    EXPECT_EQ(Modulo(1e20L, -7), -5);
    EXPECT_EQ(Modulo(std::ldexp(1.0L, 70), 3), 1);
    EXPECT_EQ(Modulo(std::ldexp(1.0L, 16000), 10), 6); // 2^16000 ends in 6
    EXPECT_EQ(Modulo(-6, 3), 0);
    EXPECT_FALSE(std::signbit(Modulo(-6, 3)));
    // A tiny negative remainder moves up to just below the divisor.
    EXPECT_EQ(Modulo(-std::ldexp(1.0L, -40), 1), 1 - std::ldexp(1.0L, -40));
}

TEST(ScalarRoutines, LogarithmsAndPowers) {
    EXPECT_EQ(LogBase(2, 8), 3);
    EXPECT_EQ(Power(-2, 3), -8);
    EXPECT_EQ(Power(2, -2), 0.25L);
    EXPECT_EQ(Power(0, 0), 1);
    EXPECT_EQ(Power(0, 0.5L), 0);
    EXPECT_EQ(Power(3, 40), 12157665459056928801.0L);
    EXPECT_NEAR(static_cast<double>(Power(2, 0.5L)), std::sqrt(2.0), 1e-15);

    clearFloatFaults();
    EXPECT_TRUE(std::isnan(Power(-2, 0.5L)));
    EXPECT_TRUE(floatFaultRaised());
    // 0 to a negative power is a pole.
    clearFloatFaults();
    EXPECT_TRUE(std::isinf(Power(0, -0.5L)));
    EXPECT_TRUE(invalidOrDivByZeroRaised());
    clearFloatFaults();
    EXPECT_TRUE(std::isinf(Power(0, -1)));
    EXPECT_TRUE(invalidOrDivByZeroRaised());
}
