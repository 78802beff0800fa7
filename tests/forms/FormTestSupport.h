// Shared set-up of the window tests: one application object for the program, a scripted
// dialog fake and a main problem window to drive as a user would.
#pragma once

#include "common/TextFile.h"
#include "compiler/ProblemPanes.h"
#include "support/FakeUi.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TProblForm.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "test_forms";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

class ProblemWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testApplication();
        windows.programFolder = ORVANTA_SOURCE_DIR "/";
        form = std::make_unique<TProblForm>(windows, ui, state);
    }
    void TearDown() override { form.reset(); }

    // Types a pane's text as a user would, line by line.
    static void type(QPlainTextEdit* pane, const std::string& text) {
        pane->setFocus();
        pane->insertPlainText(QString::fromStdString(text));
    }
    static std::string text(const QPlainTextEdit* pane) {
        return pane->toPlainText().toStdString();
    }

    // Types the four panes of a problem file as a user would.
    void typeProblem(const std::string& path) { typeProblemInto(*form, path); }
    void typeProblemInto(TProblForm& window, const std::string& path) {
        auto content = readWholeFile(path);
        ASSERT_TRUE(content.has_value()) << path;
        ProblemPanes panes = splitProblemSections(splitLines(*content)).Panes;
        auto joined = [](const std::vector<std::string>& lines) {
            std::string text;
            for (const std::string& line : lines)
                text += (text.empty() ? "" : "\n") + line;
            return text;
        };
        type(window.REditConst, joined(panes.Constants));
        type(window.REditInit, joined(panes.Initial));
        type(window.REditAux, joined(panes.Aux));
        type(window.REditODEs, joined(panes.ODEs));
    }

    FakeUi ui;
    WorkspaceState state;
    ProblemWindows windows;
    std::unique_ptr<TProblForm> form;
};
