// The exact value window: one value of a problem shown as its decimal text, the 64-bit
// significand in hexadecimal and the binary exponent.
#pragma once

#include "common/Extended.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

class ExactValueForm : public QDialog {
    Q_OBJECT
  public:
    explicit ExactValueForm(QWidget* parent = nullptr);

    void showValue(const std::string& variableName, Extended value);

    QLabel* lbVar;
    QLineEdit* leDecimal;
    QLineEdit* leMant;
    QLineEdit* leExp;
};
