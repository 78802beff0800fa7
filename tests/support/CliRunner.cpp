// Runs orvanta-cli through the shell and reads back what it printed.
#include "support/CliRunner.h"

#include "support/Paths.h"

#include <cstdlib>
#include <sys/wait.h>

CliResult runOrvantaCli(const TempFolder& folder, const std::string& arguments) {
    const std::string out = folder.path("stdout"), err = folder.path("stderr");
    const int raw = std::system((cliPath() + " " + arguments + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
}
