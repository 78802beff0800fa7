// The problem windows of the running program: the main one, the active one (last activated),
// the one being integrated, and the program's folder with the pending start-up file.
#pragma once

#include <string>
#include <vector>

class TProblForm;

class ProblemWindows {
  public:
    std::string programFolder;      // ends with a path separator
    std::string pendingStartupFile; // the command-line file, until the main window opens it
    std::string lastFolder;         // where the last file was chosen; "Samples" before that

    TProblForm* mainWindow() const { return main_; }
    TProblForm* activeWindow() const { return active_ ? active_ : main_; }
    TProblForm* integratedWindow() const { return integrated_ ? integrated_ : main_; }
    const std::vector<TProblForm*>& all() const { return windows_; }

    // Windows that exist, open ones and closed ones not yet released.
    const std::vector<TProblForm*>& existing() const { return existing_; }

    // The first window added becomes the main window.
    void add(TProblForm* window);
    // A closed window leaves the list at once, though it is released later.
    void remove(TProblForm* window);
    void released(TProblForm* window);
    void setActive(TProblForm* window) { active_ = window; }
    void setIntegrated(TProblForm* window) { integrated_ = window; }

  private:
    std::vector<TProblForm*> windows_;
    std::vector<TProblForm*> existing_;
    TProblForm* main_ = nullptr;
    TProblForm* active_ = nullptr;
    TProblForm* integrated_ = nullptr;
};
