// The problem windows of the running program.
#include "workspace/forms/ProblemWindows.h"

#include <algorithm>

void ProblemWindows::add(TProblForm* window) {
    if (!main_)
        main_ = window;
    windows_.push_back(window);
}

void ProblemWindows::remove(TProblForm* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    if (active_ == window)
        active_ = main_ == window ? nullptr : main_;
    if (integrated_ == window)
        integrated_ = main_ == window ? nullptr : main_;
    if (main_ == window)
        main_ = nullptr;
}
