#include "workspace/ScriptLocation.h"

#include "common/NumberText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

std::string programFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return fs::current_path(error).string();
    return executable.parent_path().string();
}

std::string withForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

ScriptLocation locateScript(const std::string& name, bool fullPath,
                            const std::string& programFolder) {
    fs::path script(withForwardSlashes(name));
    if (fullPath)
        return {script.string(), script.parent_path().string()};
    if (!script.has_parent_path()) {
        std::string samples = (fs::path(programFolder) / "Samples").string();
        return {(fs::path(samples) / script).string(), samples};
    }
    fs::path below = fs::path(programFolder) / script;
    return {below.string(), below.parent_path().string()};
}

std::string problemPathFor(const ScriptLocation& location, const std::string& problemName) {
    return (fs::path(location.ProblemFolder) / withForwardSlashes(problemName)).string();
}

bool problemModifiedAfterScript(const std::string& scriptPath, const std::string& problemPath) {
    std::error_code error;
    auto scriptTime = fs::last_write_time(scriptPath, error);
    if (error)
        return false;
    auto problemTime = fs::last_write_time(problemPath, error);
    if (error)
        return false;
    return scriptTime + std::chrono::milliseconds(8640) < problemTime;
}

StartupFile classifyStartupFile(const std::string& argument, const std::string& programFolder) {
    fs::path path(withForwardSlashes(trim(argument)));
    if (!path.has_parent_path())
        path = fs::path(programFolder) / path;
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return {};
    std::string extension = toLower(path.extension().string());
    if (extension == ".scr")
        return {StartupFile::Script, path.string()};
    if (extension == ".ode")
        return {StartupFile::Problem, path.string()};
    return {};
}
