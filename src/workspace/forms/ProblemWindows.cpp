// The problem windows of the running program.
#include "workspace/forms/ProblemWindows.h"

void ProblemWindows::add(TProblForm* window) {
    if (!main_)
        main_ = window;
    windows_.push_back(window);
    existing_.push_back(window);
}

void ProblemWindows::remove(TProblForm* window) {
    std::erase(windows_, window);
    if (active_ == window)
        active_ = main_ == window ? nullptr : main_;
    if (integrated_ == window)
        integrated_ = main_ == window ? nullptr : main_;
    if (main_ == window)
        main_ = nullptr;
}

void ProblemWindows::released(TProblForm* window) {
    remove(window);
    std::erase(existing_, window);
}
