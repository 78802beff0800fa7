// The program's start-up before any window: numeric environment, its folder and the folders
// "Help" and "Samples" that must stand beside it.
#pragma once

#include <string>

class Ui;

// Numbers are read and written with "." whatever the locale, in extended precision. Call after
// the application object exists, since that object adopts the user's locale.
void prepareNumericEnvironment();
// The executable's folder followed by a path separator.
std::string programFolderOf(const std::string& executableFolder);
// False, after the message naming the missing folder, when "Help" or "Samples" is absent.
bool checkProgramFolders(const std::string& programFolder, Ui& ui);
