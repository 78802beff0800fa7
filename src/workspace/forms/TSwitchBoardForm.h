// The switch board: hands the integration from the problem being integrated over to another
// loaded problem with the same main variables, which goes on from the state reached.
#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class ProblemWindows;
class QLabel;
class QListWidget;
class TProblForm;
class Ui;

class TSwitchBoardForm : public QDialog {
    Q_OBJECT
  public:
    // Where the board was opened from.
    static constexpr std::uint16_t FromMainWindow = 98;
    static constexpr std::uint16_t FromGraphWindow = 109;

    TSwitchBoardForm(ProblemWindows& windows, std::uint16_t openMode, QWidget* parent = nullptr);

    // The compiled problem windows other than the one being integrated.
    static std::vector<TProblForm*> switchTargets(const ProblemWindows& windows);

    QLabel* lbFrom;
    QLabel* lbVar;
    QLabel* lbIn;
    QLabel* lbSourceProb;
    QLabel* lbTo;
    QListWidget* LBoxSwProbList;

  public slots:
    void LBoxSwProbListClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();

    ProblemWindows& windows_;
    std::uint16_t openMode_;
    std::vector<TProblForm*> targets_;
};
