#include "support/FakeUi.h"

void FakeUi::message(const std::string& text) {
    messages.push_back(text);
}

bool FakeUi::confirm(const std::string& text) {
    messages.push_back(text);
    if (confirmAnswers.empty())
        return true;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

bool FakeUi::ask(const std::string& text) {
    return confirm(text);
}

std::optional<std::string> FakeUi::inputBox(const std::string& title, const std::string& prompt,
                                            const std::string& proposal) {
    inputPrompts.push_back(title + "|" + prompt + "|" + proposal);
    if (inputAnswers.empty())
        return std::nullopt;
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeUi::openFile(const std::string&, const std::string&,
                                            const std::string& proposal) {
    fileProposals.push_back(proposal);
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeUi::saveFile(const std::string& title, const std::string& filter,
                                            const std::string& proposal) {
    return openFile(title, filter, proposal);
}

std::optional<FilteredFile> FakeUi::saveFileFiltered(const std::string& title,
                                                     const std::string& filter,
                                                     const std::string& proposal, int filterIndex) {
    const auto path = saveFile(title, filter, proposal);
    if (!filterAnswers.empty()) {
        filterIndex = filterAnswers.front();
        filterAnswers.pop_front();
    }
    if (!path)
        return std::nullopt;
    return FilteredFile{*path, filterIndex};
}

void FakeUi::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}

std::optional<std::uint32_t> FakeUi::chooseColour(std::uint32_t) {
    if (colourAnswers.empty())
        return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}
