// The help window and script launcher: rich-text help, and a list of scripts run by a double
// click or by copying a name to the clipboard.
#pragma once

#include "tools/ScriptLauncher.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;
class Ui;

class THelpForm : public QMainWindow {
    Q_OBJECT
  public:
    THelpForm(Ui& ui, std::string programFolder, QWidget* parent = nullptr);

    // Runs a script by its full path, as scripts chosen outside the Demo menu run.
    std::function<void(const std::string&)> RunScript;
    // True while a run is under way: the clipboard is not read then (a script started from a
    // timer would replace the problem the run is integrating); the text waits for the next tick.
    std::function<bool()> Busy;

    // Opens help file `name` of the "Help" folder: rich text here, other files on the desktop,
    // a missing file nowhere; no name just shows the window.
    void openHelp(const std::string& name);
    // Shows a rich-text list of scripts with the interception controls.
    bool loadScriptList(const std::string& path);

    QTextEdit* RichEdit1;
    QLabel* lbIntercept;
    QLabel* lbScrClick;
    QCheckBox* cbAuto;
    QPushButton* btClear;
    QTimer* Timer1;

  public slots:
    void btClearClick();
    void Size1Click();
    void Save1Click();
    void checkClipboard();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void cbAutoClick();
    void RichEdit1DblClick();

  private:
    bool loadRichText(const std::string& path);
    void act(const LaunchRequest& request);

    Ui& ui_;
    std::string programFolder_;
    ScriptLauncher launcher_;
};

// The help window of the running program, if there is one.
THelpForm* helpWindow();
// Every "Help" button and item: opens the help file in the help window of the program.
void openHelp(const std::string& name);
