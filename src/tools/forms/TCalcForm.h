// The fine tuning window: a value as its 64-bit significand in hexadecimal with its binary
// exponent, both ways, and the assignment of the tuned value to one variable of the problem.
#pragma once

#include "common/Extended.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class Ui;

class TCalcForm : public QDialog {
    Q_OBJECT
  public:
    // Writes a tuned value into the target row: the value and the text that reads back as it.
    using Assign = std::function<void(Extended value, const std::string& text)>;

    TCalcForm(Ui& ui, QWidget* parent = nullptr);

    // The debugging view: the value is only shown, "Assign to..." is hidden.
    void showValue(const std::string& variableName, Extended value);
    // The parameters grid: the value of one variable, which "Assign to..." may change.
    void showForVariable(const std::string& variableName, Extended value, Assign assign);

    QLabel* lbVar;
    QLineEdit* leDecimal;
    QLineEdit* leMant;
    QLineEdit* leExp;
    QPushButton* btRight;
    QPushButton* btLeft;
    QPushButton* btEnter;
    QLabel* lbError;

  private slots:
    void btRightClick();
    void btLeftClick();
    void btEnterClick();
    void leMantChange();

  private:
    void showDecimal(const std::string& variableName, Extended value);
    // The value of the mantissa and exponent, shown as decimal text; nothing on a refusal.
    std::optional<Extended> convertLeft();

    Ui& ui_;
    bool negative_ = false; // from the last decimal-to-binary conversion
    Assign assign_;
};
