// Writing a file beside its target and renaming it over the target, so that a failed write
// leaves an older file intact.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Calls `write` with the open temporary file; throws OrvantaError "Cannot write PATH" when the
// file cannot be opened, flushed or renamed, and passes on what `write` throws.
void writeReplacing(const std::string& path, const std::function<void(std::FILE*)>& write);
