// The command table of orvanta-cli: each command file registers itself with a static object.
#pragma once

#include <functional>
#include <string>
#include <vector>

using CliArguments = std::vector<std::string>;
// A command gets the arguments after its name and returns the process exit status.
using CliHandler = std::function<int(const CliArguments&)>;

struct CliCommand {
    std::string name;
    std::string usage; // one line, shown by "orvanta-cli help"
    CliHandler run;
};

std::vector<CliCommand>& cliCommands();

// Ends a command with its usage line, after the detail of what was wrong when there is one.
[[noreturn]] void usageError(const char* usage, const std::string& detail = {});

struct CliRegistration {
    CliRegistration(std::string name, std::string usage, CliHandler run);
};
