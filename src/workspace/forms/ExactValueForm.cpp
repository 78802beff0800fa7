// The exact value window.
#include "workspace/forms/ExactValueForm.h"

#include "common/NumberText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>
#include <cstdint>

ExtendedParts extendedParts(Extended value) {
    ExtendedParts parts;
    if (value == 0 || !std::isfinite(value)) {
        parts.mantissa = "0000000000000000";
        return parts;
    }
    Extended fraction = std::frexp(std::fabs(value), &parts.exponent);
    // The fraction lies in [0.5, 1): scaled by 2^64 it is the significand with its top bit set.
    auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    parts.mantissa = formatText("%016llX", static_cast<unsigned long long>(significand));
    return parts;
}

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
    // 21 significant digits always read back as the same extended value.
    leDecimal->setText(QString::fromStdString(cleanExponent(formatText("%.21Lg", value))));
    ExtendedParts parts = extendedParts(value);
    leMant->setText(QString::fromStdString(parts.mantissa));
    leExp->setText(QString::number(parts.exponent));
    show();
    raise();
    activateWindow();
}
