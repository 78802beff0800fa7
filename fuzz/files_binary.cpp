// Fuzzes the readers of the binary side files: the first byte chooses the file of elements, the
// special point or the clipboard file, the rest is the file. Every reader must answer with a
// message or a load, allocate nothing by an unchecked count, and leave the Results array and the
// number of terms alone unless it loads.
#include "compiler/FormulaParser.h"
#include "files_silent_ui.h"
#include "integrator/ProblemCompile.h"
#include "workspace/ClipboardFile.h"
#include "workspace/DataFiles.h"
#include "workspace/ExtendedFile.h"
#include "workspace/SpecialPointFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct Loaded {
    ProgramState state;
    TCompiledProblem problem;
};

const std::string& folder() {
    static const std::string path = [] {
        auto dir =
            std::filesystem::temp_directory_path() / ("orvanta-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

// A small problem with two main and one auxiliary variable, compiled once, and its restart values.
const Loaded& compiled() {
    static const Loaded loaded = [] {
        Loaded l;
        ProblemPanes panes;
        panes.Initial = {"t = 0", "x = 1"};
        panes.Aux = {"a = x*x"};
        panes.ODEs = {"t' = 1", "x' = -a"};
        l.state.TermCount = 5;
        BuildRecurrenceTables(l.state);
        FormulaParser parser;
        compileForIntegration(l.state, panes, l.problem, parser, false);
        ExtendedFileWriter restart;
        restart.put(0.0L);
        restart.put(1.0L);
        restart.save(folder() + "/p.ivp");
        return l;
    }();
    return loaded;
}

// Plain writes: the program's own saves sync every file, which would slow the fuzzer down.
void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    SilentUi ui;
    Loaded copy = compiled();
    switch (data[0] % 3) {
    case 0: {
        writeFile(folder() + "/p.elm", file);
        bool loaded = loadDataFiles(copy.state, copy.problem, folder() + "/p.ode", "p", ui);
        if (loaded != (ui.messages == 0))
            std::abort();
        if (!loaded && (!copy.state.Results.empty() || copy.state.TermCount != 5))
            std::abort();
        if (loaded && static_cast<std::size_t>(copy.state.Results.Length) * 10 > size + 100)
            std::abort(); // the array is the file's points plus 10, each at least one number
        break;
    }
    case 1: {
        writeFile(folder() + "/p.sing", file);
        bool loaded =
            loadSpecialPoint(copy.problem, copy.state, folder() + "/p.sing", data[0] % 7 % 3, ui);
        if (loaded != copy.problem.hasSpecialPoint() ||
            (loaded && copy.problem.SpecialValues.size() != 5))
            std::abort();
        break;
    }
    default: {
        const std::string path = folder() + "/DataClipBoard.$$$";
        writeFile(path, file);
        auto caption = clipboardFileCaption(path);
        if (caption && caption->size() * 10 > size)
            std::abort();
        try {
            auto values = readClipboardValues(path, "p", 2);
            if (values.size() != 2)
                std::abort();
        } catch (const OrvantaError&) {
        }
    }
    }
    return 0;
}
