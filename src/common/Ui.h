// The dialog seam: every message, question, input box and file choice of the program goes
// through this interface, so that the window uses real dialogs and tests answer from a script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A file chosen in a save dialog with several filters: the name and the filter's 1-based index.
struct FilteredFile {
    std::string Path;
    int FilterIndex = 1;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // A fault or a refusal.
    virtual void message(const std::string& text) = 0;
    // News that is no fault (a run interrupted on request, a file written).
    virtual void information(const std::string& text) { message(text); }
    // A warning with OK and Cancel (or OK and No); true for OK.
    virtual bool confirm(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                                const std::string& proposal) = 0;
    // File choices; `filter` is "Caption|*.ext|Caption|*.ext"; nothing when cancelled.
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                                const std::string& proposal) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                                const std::string& proposal) = 0;
    // A file that output is added to: new or existing, never asked about as if replaced.
    virtual std::optional<std::string>
    appendFile(const std::string& title, const std::string& filter, const std::string& proposal) {
        return saveFile(title, filter, proposal);
    }
    // A save dialog that also tells which filter was chosen; `filterIndex` is the initial one.
    virtual std::optional<FilteredFile> saveFileFiltered(const std::string& title,
                                                         const std::string& filter,
                                                         const std::string& proposal,
                                                         int filterIndex) {
        const auto path = saveFile(title, filter, proposal);
        if (!path)
            return std::nullopt;
        return FilteredFile{*path, filterIndex};
    }
    // The colour dialog, colours as 0x00BBGGRR; nothing when cancelled or where there is none.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t) { return std::nullopt; }
    // Lets queued window events run during long work (the Esc key among them).
    virtual void processEvents() = 0;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
};

// A seam with nobody behind it: messages vanish, questions are answered "no" or cancelled.
// Headless front ends and fuzzers override what they need.
class NullUi : public Ui {
  public:
    void message(const std::string&) override {}
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
