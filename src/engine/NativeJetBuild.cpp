#include "engine/NativeJet.h"

#include "common/TextFile.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace {

// A private directory for one build, removed with everything in it when the build is over
// (the loaded library stays mapped).
class BuildDirectory {
  public:
    BuildDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanta-jet-XXXXXX");
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~BuildDirectory() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    BuildDirectory(const BuildDirectory&) = delete;
    BuildDirectory& operator=(const BuildDirectory&) = delete;

    bool made() const { return !path_.empty(); }
    std::string file(const char* name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// The start of the compiler's complaint.
std::string firstLines(const std::string& path, std::size_t limit) {
    const std::string text = readWholeFile(path).value_or("");
    return text.size() > limit ? text.substr(0, limit) + "..." : text;
}

// The compiler as the user names it: a program name or path without quotes, so that it can be
// quoted whole for the shell.
std::string compilerName() {
    const char* chosen = std::getenv("ORVANTA_CXX");
    const std::string name = chosen && *chosen ? chosen : "c++";
    return name.find('\'') == std::string::npos ? name : "c++";
}

} // namespace

NativeJet::~NativeJet() {
    dlclose(library_);
}

namespace {

std::shared_ptr<const NativeJet> compileAndLoad(const std::string& source, std::string& why) {
    BuildDirectory directory;
    if (!directory.made()) {
        why = "no temporary directory for the compiler";
        return nullptr;
    }
    const std::string sourcePath = directory.file("jet.cpp");
    const std::string libraryPath = directory.file("jet.so");
    const std::string errorsPath = directory.file("errors.txt");
    {
        std::ofstream out(sourcePath);
        out << source;
        if (!out) {
            why = "cannot write " + sourcePath;
            return nullptr;
        }
    }
    // No -ffast-math or the like: the code must round exactly as written.
    const std::string command = "'" + compilerName() + "' -O2 -fPIC -shared -w -o '" + libraryPath +
                                "' '" + sourcePath + "' 2> '" + errorsPath + "'";
    const int status = std::system(command.c_str());
    if (status != 0) {
        why = "the compiler failed (" + compilerName() + "): " + firstLines(errorsPath, 400);
        return nullptr;
    }
    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        why = std::string("cannot load the compiled jet: ") + dlerror();
        return nullptr;
    }
    auto* run = reinterpret_cast<NativeJetFunction>(dlsym(library, "orvanta_native_jet"));
    if (!run) {
        dlclose(library);
        why = "the compiled jet has no entry point";
        return nullptr;
    }
    return std::make_shared<const NativeJet>(library, run);
}

} // namespace

// The jets built in this process by compiler and source: the workers of a batch, each preparing the
// same problem, share one build instead of running the compiler once each.
std::shared_ptr<const NativeJet> buildNativeJet(const std::string& source, std::string& why) {
    static std::mutex guard;
    static std::map<std::string, std::weak_ptr<const NativeJet>> built;
    const std::lock_guard<std::mutex> lock(guard);
    std::erase_if(built, [](const auto& entry) { return entry.second.expired(); });
    const std::string key = compilerName() + '\n' + source;
    if (auto jet = built[key].lock())
        return jet;
    auto jet = compileAndLoad(source, why);
    if (jet)
        built[key] = jet;
    else
        built.erase(key);
    return jet;
}
