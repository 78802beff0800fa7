// "Massive computation": the input of initial vectors and the output of results, the batch run
// on every core with its progress, and single records tried in the problem window.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class LineReader;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TProblForm;
struct ProgramState;
class Ui;

class TTestingForm : public QDialog {
    Q_OBJECT
  public:
    TTestingForm(TProblForm& problemWindow, ProgramState& state, Ui& ui, QWidget* parent = nullptr);
    ~TTestingForm() override;
    bool running() const { return running_; }

    QLabel* lbInput;
    QLabel* lbOutput;
    QLabel* lbOfHowMany;
    QLineEdit* leNumber;
    QPushButton* btRun;
    QPushButton* btTry;
    QPushButton* btNext;
    QCheckBox* cbAlsoAuxiliary;
    QCheckBox* cbSpellOut;
    QProgressBar* ProgressBar1;
    QLabel* lbProgress;
    QLabel* lbTime;

  public slots:
    void Input1Click();
    void Output1Click();
    void btRunClick();
    void btTryClick();
    void btNextClick();
    void Clear1Click();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showRecordsLeft(long long left);

    TProblForm& problemWindow_;
    ProgramState& state_;
    Ui& ui_;
    std::string inputPath_, outputPath_;
    long long records_ = 0;
    long long sampleCounter_ = 0;
    std::unique_ptr<LineReader> tryReader_; // the input as Try and Next read it
    bool running_ = false;
};
