// Text files as the program keeps them: read with CR LF, LF or CR line ends, written with CR LF,
// and saved through a temporary file so that a failed save never destroys the previous file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitLines(std::string_view text);
std::string joinLines(const std::vector<std::string>& lines); // each line ended by CR LF

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);
// Writes to a temporary file in the same folder, then renames it over `path`. False on failure,
// leaving any previous file untouched.
bool writeFileAtomically(const std::string& path, std::string_view content);
