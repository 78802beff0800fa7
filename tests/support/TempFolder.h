// A fresh folder per test for the files a test writes; tests run in parallel processes.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    const std::filesystem::path& folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
};

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);
