// Where scripts and their problem files are found, and which file the command line opens.
#pragma once

#include <string>

// The folder of the running program; "Help" and "Samples" stand beside it.
std::string programFolder();
// Names written with "\" as the separator are read as well as those written with "/".
std::string withForwardSlashes(std::string path);

struct ScriptLocation {
    std::string ScriptPath;
    std::string ProblemFolder;
};

// A full path is taken as it is and its problem lies beside it. A bare name is taken from the
// "Samples" folder beside the program, and so is its problem. A relative name with folders
// ("Samples\Periodic\FreeFall1.scr") lies below the program's folder, its problem beside it.
ScriptLocation locateScript(const std::string& name, bool fullPath,
                            const std::string& programFolder);
std::string problemPathFor(const ScriptLocation& location, const std::string& problemName);

inline constexpr const char* ModifiedAfterScriptMessage =
    "The .ode was modified after saving script which may lead to mistakes";
// True when the problem file was written more than 0.0001 day (8.64 s) after the script.
bool problemModifiedAfterScript(const std::string& scriptPath, const std::string& problemPath);

struct StartupFile {
    enum Kind { Ignored, Script, Problem } kind = Ignored;
    std::string path;
};
// The first command-line argument: a name without folder is taken from the program's folder;
// an existing file with extension ".scr" (any case) is a script, ".ode" a problem.
StartupFile classifyStartupFile(const std::string& argument, const std::string& programFolder);
