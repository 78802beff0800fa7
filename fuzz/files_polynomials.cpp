// Fuzzes the reader of the "[Polynomials]" section of problem files.
#include "common/TextFile.h"
#include "files_silent_ui.h"
#include "workspace/PolynomialSection.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilentUi ui;
    auto lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    auto polynomials = readPolynomialSection(lines, 0, ui);
    if (polynomials.size() > lines.size())
        std::abort();
    // A section read without complaint is written back line for line as it reads.
    if (ui.messages == 0) {
        auto again = writePolynomialSection(polynomials);
        SilentUi second;
        if (readPolynomialSection(again, 1, second) != polynomials || second.messages != 0)
            std::abort();
    }
    return 0;
}
