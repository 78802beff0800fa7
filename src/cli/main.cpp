// orvanta-cli: the headless front end; dispatches to the registered commands.
#include "cli/CliCommand.h"
#include "common/OrvantaError.h"

#include <algorithm>
#include <exception>
#include <iostream>

std::vector<CliCommand>& cliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

CliRegistration::CliRegistration(std::string name, std::string usage, CliHandler run) {
    cliCommands().push_back({std::move(name), std::move(usage), std::move(run)});
}

void usageError(const char* usage, const std::string& detail) {
    const std::string line = std::string("usage: orvanta-cli ") + usage;
    throw OrvantaError(detail.empty() ? line : detail + "\n" + line);
}

static int printUsage(std::ostream& out) {
    auto commands = cliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    out << "usage: orvanta-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const auto& command : commands)
        out << "  " << command.usage << "\n";
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return printUsage(std::cerr);
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        printUsage(std::cout);
        return 0;
    }
    for (const auto& command : cliCommands()) {
        if (command.name != name)
            continue;
        try {
            return command.run(CliArguments(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::cerr << error.what() << "\n";
            return 1;
        }
    }
    std::cerr << "Unknown command \"" << name << "\"\n";
    return printUsage(std::cerr);
}
