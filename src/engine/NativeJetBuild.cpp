#include "engine/NativeJet.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>

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

std::string firstLines(const std::string& path, std::size_t limit) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

std::shared_ptr<const NativeJet> buildNativeJet(const std::string& source, std::string& why) {
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
