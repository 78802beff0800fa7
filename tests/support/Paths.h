// Where tests find the shared problem files, the source tree and the command-line program.
#pragma once

#include <string>

inline std::string problemPath(const std::string& name) {
    return std::string(ORVANTA_PROBLEMS_DIR) + "/" + name;
}
inline std::string sourcePath(const std::string& name) {
    return std::string(ORVANTA_SOURCE_DIR) + "/" + name;
}
inline std::string cliPath() {
    return ORVANTA_CLI;
}
