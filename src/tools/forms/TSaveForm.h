// "Saving tables": the stored variables with their target files, the range and step of the
// nodes, and the kind of output.
#pragma once

#include "tools/TableNodes.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;
class StringGrid;
class Ui;

class TSaveForm : public QDialog {
    Q_OBJECT
  public:
    // `names`: the stored variables in the order of the Results array's columns.
    TSaveForm(const ProgramState& state, const std::vector<std::string>& names,
              const std::string& indepName, Ui& ui, QWidget* parent = nullptr);

    StringGrid* StringGrid1;
    QLineEdit* edFor;
    QLineEdit* edTo;
    QLabel* lbMin;
    QLabel* lbMax;
    RadioGroup* rgStep;
    QLineEdit* edStep;
    RadioGroup* rgSaveAs;
    QPushButton* btSave;
    QPushButton* btClose;

  public slots:
    void Save1Click();

  private slots:
    void StringGrid1SelectCell(int row, int column);

  private:
    const ProgramState& state_;
    std::vector<std::string> names_;
    Ui& ui_;
    std::int32_t indepColumn_;
};
