// The exact value window.
#include "workspace/forms/ExactValueForm.h"

#include "common/NumberText.h"
#include "tools/ExactConversion.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

ExactValueForm::ExactValueForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Decimal/hexadecimal fine tuning (64 binary digits)");
    lbVar = new QLabel;
    leDecimal = new QLineEdit;
    leMant = new QLineEdit;
    leExp = new QLineEdit;
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    for (QLineEdit* edit : {leDecimal, leMant, leExp}) {
        edit->setReadOnly(true);
        edit->setFont(fixed);
    }
    leDecimal->setMinimumWidth(300);
    auto* layout = new QFormLayout(this);
    layout->addRow("Variable", lbVar);
    layout->addRow("Decimal number", leDecimal);
    layout->addRow("64 bit mantissa (as hexadecimal)", leMant);
    layout->addRow("15 bit exponent (as decimal)", leExp);
}

void ExactValueForm::showValue(const std::string& variableName, Extended value) {
    lbVar->setText(QString::fromStdString(trim(variableName)));
    leDecimal->setText(QString::fromStdString(exactDecimal(value).text));
    ExtendedParts parts = extendedParts(value);
    leMant->setText(QString::fromStdString(parts.mantissa));
    leExp->setText(QString::number(parts.exponent));
    show();
    raise();
    activateWindow();
}
