// The clipboard file "DataClipBoard.$$$": the current values of one problem carried to another
// problem window, with the caption of the window they came from.
#pragma once

#include "common/Extended.h"

#include <optional>
#include <string>
#include <vector>

class Ui;

std::string clipboardFilePath(const std::string& programFolder);

// Writes the caption's length, the number of values, the caption's character codes and the
// values. Shows "Cannot open Data ClipBoard" and returns false on failure.
bool writeClipboardFile(const std::string& path, const std::string& caption,
                        const std::vector<Extended>& values, Ui& ui);

// The caption of the window the file came from; nothing when there is no readable file.
std::optional<std::string> clipboardFileCaption(const std::string& path);
// "Clipboard: " and the caption, or "No clipboard file".
std::string clipboardIndicatorText(const std::optional<std::string>& caption);

// The values for a problem with `mainCount` main variables shown in the window `windowCaption`.
// Throws OrvantaError: "No clipboard file available", "%s and %s incompatible" (clipboard's
// caption, window's caption) or "Wrong data in clipboard file".
std::vector<Extended> readClipboardValues(const std::string& path, const std::string& windowCaption,
                                          std::size_t mainCount);

// Removes the file; a file that is not there is no failure.
void deleteClipboardFile(const std::string& path);
