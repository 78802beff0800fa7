// The script launcher's matching of clipboard texts and list lines, and the help files' paths.
#include "tools/ScriptLauncher.h"

#include "common/NumberText.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool isFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

void ScriptLauncher::load(std::vector<std::string> lines, std::string folder) {
    lines_ = std::move(lines);
    folder_ = std::move(folder);
    lastSeen_.clear();
    active_ = true;
}

void ScriptLauncher::clear() {
    lines_.clear();
    folder_.clear();
    lastSeen_.clear();
    active_ = false;
}

std::string ScriptLauncher::pathOfLine(int line) const {
    if (line < 0 || line >= static_cast<int>(lines_.size()))
        return folder_;
    return (fs::path(folder_) / trim(lines_[static_cast<std::size_t>(line)])).string();
}

LaunchRequest ScriptLauncher::lineChosen(int line) const {
    const std::string path = pathOfLine(line);
    if (line >= 0 && line < static_cast<int>(lines_.size()) && !trim(lines_[line]).empty() &&
        isFile(path))
        return {LaunchRequest::Run, line, path, {}};
    return {LaunchRequest::Report, line, path, path + " file does not exist"};
}

LaunchRequest ScriptLauncher::intercept(const std::string& clipboardText) {
    const std::string text = trim(clipboardText);
    const std::string seen = toLower(text);
    if (!active_ || seen == lastSeen_)
        return {};
    lastSeen_ = seen;
    if (seen.empty())
        return {};
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (toLower(lines_[i]).find(seen) != std::string::npos)
            return lineChosen(static_cast<int>(i));
    return {LaunchRequest::Report, -1, {}, text + " not found in the list"};
}

std::string helpPath(const std::string& programFolder, const std::string& name) {
    return (fs::path(programFolder) / "Help" / name).string();
}

HelpTarget helpTargetOf(const std::string& path) {
    if (!isFile(path))
        return HelpTarget::None;
    return toLower(fs::path(path).extension().string()) == ".rtf" ? HelpTarget::Window
                                                                  : HelpTarget::Desktop;
}
