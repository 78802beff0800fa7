// The script launcher: a list of script names shown in the help window, run by a double click on
// a line or by copying a name to the clipboard; and where help files are found.
#pragma once

#include <string>
#include <vector>

// What the launcher asks its window to do.
struct LaunchRequest {
    enum Kind { Nothing, Run, Report } What = Nothing;
    int Line = -1;       // the list's line that matched, for selecting it
    std::string Path;    // the script to run
    std::string Message; // the report to show
};

class ScriptLauncher {
  public:
    // The list's lines and the folder its names are relative to.
    void load(std::vector<std::string> lines, std::string folder);
    void clear();
    bool active() const { return active_; }

    // The script of a line: the folder followed by the trimmed line text.
    std::string pathOfLine(int line) const;
    // A double click on a line: run it when the file exists, else "<path> file does not exist".
    LaunchRequest lineChosen(int line) const;
    // The clipboard's text, trimmed and lower-cased, is acted on once: the first line holding it
    // (in any case) runs or is reported missing; a text on no line gives "<text> not found in the
    // list". An empty clipboard matches nothing.
    LaunchRequest intercept(const std::string& clipboardText);

  private:
    std::vector<std::string> lines_;
    std::string folder_;
    std::string lastSeen_;
    bool active_ = false;
};

// The help file `name` in the "Help" folder beside the program.
std::string helpPath(const std::string& programFolder, const std::string& name);
// Rich text goes to the help window, other files to the desktop; a missing file goes nowhere.
enum class HelpTarget { None, Window, Desktop };
HelpTarget helpTargetOf(const std::string& path);
