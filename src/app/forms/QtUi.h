// The dialog seam on real Qt dialogs: message boxes, input boxes, file dialogs and the clipboard.
#pragma once

#include "common/Ui.h"

class QWidget;

class QtUi : public Ui {
  public:
    // Dialogs are parented to `owner` when it is given, so they stay above the window.
    explicit QtUi(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const std::string& text) override;
    void information(const std::string& text) override;
    bool confirm(const std::string& text) override;
    bool ask(const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& proposal) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override;
    std::optional<std::string> appendFile(const std::string& title, const std::string& filter,
                                          const std::string& proposal) override;
    std::optional<FilteredFile> saveFileFiltered(const std::string& title,
                                                 const std::string& filter,
                                                 const std::string& proposal,
                                                 int filterIndex) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    void processEvents() override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;

  private:
    QWidget* owner_;
};

// "ODEs|*.ode|Script|*.scr" becomes Qt's "ODEs (*.ode);;Script (*.scr)".
std::string qtFileFilter(const std::string& filter);
