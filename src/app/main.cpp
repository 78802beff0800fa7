// orvanta: the desktop program. Prepares the numeric environment, checks its folders, creates
// the main problem window and runs the message loop until that window closes.
#include "app/forms/AboutBox.h"
#include "app/forms/QtUi.h"
#include "app/forms/Startup.h"
#include "graphics/forms/TGraphForm.h"
#include "tools/forms/THelpForm.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/GraphSwitchItem.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/TProblForm.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("Orvanta");
    prepareNumericEnvironment();

    QtUi ui;
    ProblemWindows windows;
    windows.programFolder = programFolderOf(QApplication::applicationDirPath().toStdString());
    if (!checkProgramFolders(windows.programFolder, ui))
        return 1;
    if (argc > 1)
        windows.pendingStartupFile = argv[1];

    WorkspaceState state; // its constructor builds the recurrence tables for 31 terms
    TProblForm mainWindow(windows, ui, state);
    // Owned by the main window, so that closing the main window still ends the program.
    TGraphForm graphWindow(windows, ui, state, &mainWindow);
    windows.graph = &graphWindow;
    THelpForm helpWindow(ui, windows.programFolder, &mainWindow);
    helpWindow.RunScript = [&windows](const std::string& path) {
        windows.mainWindow()->runScript(path, true);
    };
    helpWindow.Busy = [&state] { return state.Busy; };
    // Its double-click starts scripts: during runs it takes no input, as the problem windows.
    RunInputGuard::guardDuringRuns(helpWindow);
    addGraphSwitchItem(graphWindow, windows);
    ui.setOwner(&mainWindow);
    if (argc < 2)
        showAboutBox(nullptr);
    mainWindow.show();
    // Window managers differ in whether a first window is ever activated; open it anyway.
    QTimer::singleShot(0, &mainWindow, &TProblForm::openPendingStartupFile);
    return application.exec();
}
