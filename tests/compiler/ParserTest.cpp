#include "common/OrvantaError.h"
#include "compiler/FormulaParser.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

struct ParseFailure {
    std::string message;
    std::int32_t line;
    std::string errorText;
};

ParseFailure failureOf(const Lines& lines) {
    FormulaParser parser;
    try {
        parser.ParseFormulas(lines);
    } catch (const OrvantaError& error) {
        EXPECT_FALSE(parser.FormulasParsed);
        return {error.what(), parser.CurrentLine, parser.ErrorText};
    }
    ADD_FAILURE() << "no error for " << lines.back();
    return {};
}

std::string messageOf(const std::string& rightSide) {
    return failureOf({"a=1", "b=" + rightSide}).message;
}

} // namespace

TEST(Parser, WorkedExampleGivesTheCodedPostfixItems) {
    FormulaParser parser;
    ASSERT_TRUE(parser.ParseFormulas({"a = 2", "x = 1", "y = a*sin(x)^2 + 1"}));
    EXPECT_TRUE(parser.FormulasParsed);
    EXPECT_EQ(parser.Postfix[2].codedItems(), Lines({"ovi0", "ovi1", "onu0", std::string(1, '\x01'),
                                                     "onu2", "^", "*", "onu1", "+"}));
    EXPECT_EQ(parser.Postfix[2].FirstOperation(), 3);
    EXPECT_EQ(parser.Postfix[0].codedItems(), Lines({"onu2"}));
}

TEST(Parser, SignsFunctionsAndFactorialsTakeTwoOperandsEach) {
    FormulaParser parser;
    ASSERT_TRUE(parser.ParseFormulas(
        {"x=1", "a=-x^2", "b=x!", "c=2^3^2", "d=mod(x,3)", "e=x^2!", "f=(x+1)*2"}));
    EXPECT_EQ(parser.Postfix[1].codedItems(), Lines({"onu0", "ovi0", "onu2", "^", "-"}));
    EXPECT_EQ(parser.Postfix[2].codedItems(), Lines({"ovi0", "onu0", "!"}));
    EXPECT_EQ(parser.Postfix[3].codedItems(), Lines({"onu2", "onu3", "onu2", "^", "^"}));
    EXPECT_EQ(parser.Postfix[4].codedItems(), Lines({"ovi0", "onu3", std::string(1, '\x0a')}));
    EXPECT_EQ(parser.Postfix[5].codedItems(), Lines({"ovi0", "onu2", "onu0", "!", "^"}));
    EXPECT_EQ(parser.Postfix[6].codedItems(), Lines({"ovi0", "onu1", "+", "onu2", "*"}));
}

TEST(Parser, NamesResolveWithoutRegardToCase) {
    FormulaParser parser;
    ASSERT_TRUE(parser.ParseFormulas({"X = 2", "b = x", "c = B*1.5e3"}));
    EXPECT_EQ(parser.Postfix[1].codedItems(), Lines({"ovi0"}));
    EXPECT_EQ(parser.Postfix[2].codedItems(), Lines({"ovi1", "onu1.5e3", "*"}));
    EXPECT_EQ(parser.Postfix[2].Items[1].value, 1500.0L);
}

TEST(Parser, NothingToParse) {
    FormulaParser parser;
    EXPECT_FALSE(parser.ParseFormulas({}));
    EXPECT_FALSE(parser.FormulasParsed);
}

TEST(Parser, LineStructureMessages) {
    EXPECT_EQ(failureOf({"a=1", "abc"}).message, "abc : no equation!");
    EXPECT_EQ(failureOf({"1a = 2"}).message, "Wrong name 1a !");
    EXPECT_EQ(failureOf({"=5"}).message, "Wrong name  !");
    EXPECT_EQ(failureOf({"X = 2", "x = 3"}).message, "Attempt to redefine x !");
    EXPECT_EQ(failureOf({"a = "}).message, "Empty right side for a !");
    EXPECT_EQ(failureOf({"}a = 1{"}).message, "Wrong name }a !");
    // The line and the text to select are kept for the caller.
    ParseFailure failure = failureOf({"a=1", "b=2", "X = 2", "x = 3"});
    EXPECT_EQ(failure.line, 3);
    EXPECT_EQ(failure.errorText, "");
}

TEST(Parser, GrammarMessages) {
    EXPECT_EQ(messageOf("(a))"), ")\n\r can not be parsed. The end of line reached");
    EXPECT_EQ(messageOf("a)+1"), "a)\n\r parsing stopped here");
    EXPECT_EQ(messageOf("sin+a"), "sin+\n\r \"(\" expected but \"+\" found");
    EXPECT_EQ(messageOf("sin a"), "sina not defined yet"); // one name once the blank is gone
    EXPECT_EQ(messageOf("sin"), "sin\n\r \"(\" expected but \"\" found");
    EXPECT_EQ(messageOf("sin(a,1)"), "sin(a,\n\r, second operand not needed");
    EXPECT_EQ(messageOf("mod(7)"), "mod(7)\n\r) second operand needed");
    EXPECT_EQ(messageOf("-"), "-\n\r operand expected but nothing found");
    EXPECT_EQ(messageOf("(a+1"), "(a+1\n\r \")\" or \",\" expected but \"\" found");
    EXPECT_EQ(messageOf("2*-a"), "2*-\n\r- not a valid operand");
    EXPECT_EQ(messageOf("a^-2"), "a^-\n\r- not a valid operand");
    EXPECT_EQ(messageOf("a.b+1"), "a.b\n\ra.b not a valid operand");
    EXPECT_EQ(messageOf("a!^2"), "a!^\n\r parsing stopped here");
    EXPECT_EQ(messageOf("a!!"), "!\n\r can not be parsed. The end of line reached");
    EXPECT_EQ(messageOf("2a"), "a\n\r can not be parsed. The end of line reached");
    EXPECT_EQ(messageOf("1;2;3"),
              "1; looks like a multi-IVP.\n\rFirst unfold it by creating an array of IVPs");
}

TEST(Parser, ClosingParenthesisIsRequiredAfterEveryArgumentList) {
    EXPECT_EQ(messageOf("mod(7,3"), "mod(7,3\n\r \")\" expected but \"\" found");
    EXPECT_EQ(messageOf("mod(7,3+a"), "mod(7,3+a\n\r \")\" expected but \"\" found");
    EXPECT_EQ(messageOf("mod(7,"), "mod(7,\n\r \")\" expected but \"\" found");
    EXPECT_EQ(messageOf("(1,2)"), "(1,\n\r \")\" expected but \",\" found");
    EXPECT_EQ(messageOf("(1,"), "(1,\n\r \")\" expected but \",\" found");
}

TEST(Parser, UndefinedNamesComeBeforeTrailingText) {
    ParseFailure failure = failureOf({"x = x + 1"});
    EXPECT_EQ(failure.message, "x not defined yet");
    EXPECT_EQ(failure.errorText, "x");
    EXPECT_EQ(failureOf({"a = b", "b = 1"}).message, "b not defined yet");
    EXPECT_EQ(messageOf("zz)"), "zz not defined yet");
    // A function name may be declared but never used as an operand.
    EXPECT_EQ(failureOf({"sin = 1", "b = sin"}).message, "sin\n\r \"(\" expected but \"\" found");
    // A name with "_" can be declared but not referred to.
    EXPECT_EQ(failureOf({"a_b = 1", "a = 2", "c = a_b"}).message, "a_\n\r parsing stopped here");
}

TEST(Parser, ErrorTextIsTheParsedText) {
    ParseFailure failure = failureOf({"a=1", "b = 2 * sin + a"});
    EXPECT_EQ(failure.line, 1);
    EXPECT_EQ(failure.errorText, "2*sin+");
}

TEST(Parser, DeepNestingIsAnErrorNotACrash) {
    std::string deep = "b=" + std::string(100000, '(') + "a" + std::string(100000, ')');
    EXPECT_EQ(failureOf({"a=1", deep}).message.substr(1000 + 1),
              "\n\r expression nested too deeply");
    std::string nested = "b=" + std::string(200, '(') + "a" + std::string(200, ')');
    FormulaParser parser;
    EXPECT_TRUE(parser.ParseFormulas({"a=1", nested}));
}
