// orvanta-cli exact: the significand, exponent and exact decimal of a value, one per line.
#include "support/CliRunner.h"

#include <gtest/gtest.h>

TEST(ExactCommand, PrintsSignificandExponentAndDecimal) {
    TempFolder folder;
    CliResult tenth = runOrvantaCli(folder, "exact 0.1");
    EXPECT_EQ(tenth.status, 0);
    EXPECT_EQ(tenth.out, "CCCCCCCCCCCCCCCD\n-3\n0.1\n");
    CliResult negative = runOrvantaCli(folder, "exact -2.5e-3000");
    EXPECT_EQ(negative.status, 0);
    EXPECT_EQ(negative.out.substr(negative.out.find('\n', 17) + 1), "-2.5e-3000\n");
    CliResult wrong = runOrvantaCli(folder, "exact 0x10");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("Wrong number"), std::string::npos) << wrong.err;
    EXPECT_EQ(runOrvantaCli(folder, "exact").status, 1);
}
