// A file written to PATH.tmp and renamed over PATH when complete.
#include "graphics/ReplacingFile.h"

#include "common/OrvantaError.h"

#include <filesystem>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void writeReplacing(const std::string& path, const std::function<void(std::FILE*)>& write) {
    const std::string temporary = path + ".tmp";
    {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(temporary.c_str(), "wb"));
        if (!file)
            throw OrvantaError("Cannot write " + path);
        try {
            write(file.get());
        } catch (...) {
            file.reset();
            std::remove(temporary.c_str());
            throw;
        }
        const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
        if (std::fclose(file.release()) != 0 || !flushed) {
            std::remove(temporary.c_str());
            throw OrvantaError("Cannot write " + path);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw OrvantaError("Cannot write " + path);
    }
}
