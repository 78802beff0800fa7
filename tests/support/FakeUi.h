// The scripted dialog seam for tests: records every message and answers prompts from queues.
#pragma once

#include "common/Ui.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class FakeUi : public Ui {
  public:
    std::vector<std::string> messages; // every message, confirmation and question shown
    std::deque<bool> confirmAnswers;   // confirm() and ask(); true when empty
    std::deque<std::optional<std::string>> inputAnswers; // inputBox(); cancel when empty
    std::deque<std::optional<std::string>>
        fileAnswers;                        // openFile() and saveFile(); cancel when empty
    std::vector<std::string> inputPrompts;  // "title|prompt|proposal" of every input box
    std::vector<std::string> fileProposals; // the proposal of every file dialog
    std::deque<std::optional<std::uint32_t>> colourAnswers; // chooseColour(); cancel when empty
    std::deque<int> filterAnswers; // saveFileFiltered()'s filter index; the initial one when empty
    std::string clipboard;
    std::function<void()> onProcessEvents; // runs inside processEvents(), e.g. to press Esc
    int processEventsCalls = 0;

    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    bool ask(const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& proposal) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override;
    std::optional<FilteredFile> saveFileFiltered(const std::string& title,
                                                 const std::string& filter,
                                                 const std::string& proposal,
                                                 int filterIndex) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override;
    void processEvents() override;
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override { clipboard = text; }

    std::string lastMessage() const { return messages.empty() ? std::string() : messages.back(); }
};
