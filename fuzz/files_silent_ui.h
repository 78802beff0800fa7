// A dialog seam for the file fuzzers: counts messages, answers every question with "cancel".
#pragma once

#include "common/Ui.h"

class SilentUi : public NullUi {
  public:
    int messages = 0;
    void message(const std::string&) override { ++messages; }
};
