// A dialog seam for the file fuzzers: counts messages, answers every question with "cancel".
#pragma once

#include "common/Ui.h"

class SilentUi : public Ui {
  public:
    int messages = 0;
    void message(const std::string&) override { ++messages; }
    bool confirm(const std::string&) override { return false; }
    bool ask(const std::string&) override { return false; }
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> saveFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void processEvents() override {}
    std::string clipboardText() override { return {}; }
    void setClipboardText(const std::string&) override {}
};
