// orvanta-cli exact: a decimal value as its 16-digit hexadecimal significand, its binary exponent
// and the decimal text that reads back as exactly the same extended value.
#include "cli/CliCommand.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "tools/ExactConversion.h"

#include <iostream>

namespace {

constexpr const char* Usage = "exact VALUE";

int runExact(const CliArguments& arguments) {
    if (arguments.size() != 1)
        usageError(Usage);
    std::optional<Extended> value = parseTrimmedNumber(arguments[0]);
    if (!value)
        throw OrvantaError("Wrong number");
    ExtendedParts parts = extendedParts(*value);
    DecimalText decimal = exactDecimal(*value);
    std::cout << parts.mantissa << "\n" << parts.exponent << "\n" << decimal.text << "\n";
    if (!decimal.note.empty())
        std::cerr << decimal.note << "\n";
    return 0;
}

const CliRegistration registration("exact", Usage, runExact);

} // namespace
