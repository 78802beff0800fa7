// Runs orvanta-cli with arguments in a fresh folder and collects its exit status and output.
#pragma once

#include "support/TempFolder.h"

#include <string>

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// `arguments` go to the shell as written; the output files live in `folder`.
CliResult runOrvantaCli(const TempFolder& folder, const std::string& arguments);
