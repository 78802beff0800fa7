// The fine tuning window.
#include "tools/forms/TCalcForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "tools/ExactConversion.h"
#include "workspace/forms/RunInputGuard.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

TCalcForm::TCalcForm(Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    // It stays open beside the problem window, whose runs its commands must not reach.
    RunInputGuard::guardDuringRuns(*this);
    setWindowTitle("Decimal/hexadecimal fine tuning (64 binary digits)");
    lbVar = new QLabel;
    leDecimal = new QLineEdit;
    leMant = new QLineEdit;
    leExp = new QLineEdit;
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    for (QLineEdit* edit : {leDecimal, leMant, leExp})
        edit->setFont(fixed);
    leDecimal->setMinimumWidth(320);
    btRight = new QPushButton(QString::fromUtf8("\u2192"));
    btRight->setToolTip("Decimal to binary");
    btLeft = new QPushButton(QString::fromUtf8("\u2190"));
    btLeft->setToolTip("Binary to decimal");
    btEnter = new QPushButton("Assign to...");
    btEnter->setToolTip("Made this the Restart value");
    lbError = new QLabel("Rel. error");
    lbError->hide();

    auto* fields = new QFormLayout;
    fields->addRow("Variable", lbVar);
    fields->addRow("Decimal number", leDecimal);
    fields->addRow("64 bit mantissa (as hexadecimal)", leMant);
    fields->addRow("15 bit exponent (as decimal)", leExp);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btRight);
    buttons->addWidget(btLeft);
    buttons->addStretch(1);
    buttons->addWidget(btEnter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(lbError);
    layout->addLayout(buttons);

    connect(btRight, &QPushButton::clicked, this, &TCalcForm::btRightClick);
    connect(btLeft, &QPushButton::clicked, this, &TCalcForm::btLeftClick);
    connect(btEnter, &QPushButton::clicked, this, &TCalcForm::btEnterClick);
    connect(leMant, &QLineEdit::textEdited, this, &TCalcForm::leMantChange);
}

void TCalcForm::showDecimal(const std::string& variableName, Extended value) {
    lbVar->setText(QString::fromStdString(trim(variableName)));
    negative_ = value < 0;
    leDecimal->setText(QString::fromStdString(exactDecimal(value).text));
    const ExtendedParts parts = extendedParts(value);
    leMant->setText(QString::fromStdString(parts.mantissa));
    leExp->setText(QString::number(parts.exponent));
    lbError->hide();
    btEnter->setEnabled(false);
    show();
    raise();
    activateWindow();
}

void TCalcForm::showValue(const std::string& variableName, Extended value) {
    assign_ = nullptr;
    btEnter->hide();
    showDecimal(variableName, value);
}

void TCalcForm::showForVariable(const std::string& variableName, Extended value, Assign assign) {
    assign_ = std::move(assign);
    btEnter->show();
    showDecimal(variableName, value);
}

void TCalcForm::btRightClick() {
    const auto value = parseTrimmedNumber(leDecimal->text().toStdString());
    if (!value) {
        ui_.message("Wrong number");
        return;
    }
    negative_ = std::signbit(*value);
    const ExtendedParts parts = extendedParts(*value);
    leMant->setText(QString::fromStdString(parts.mantissa));
    leExp->setText(QString::number(parts.exponent));
}

std::optional<Extended> TCalcForm::convertLeft() {
    const PartsReading reading =
        readExtendedParts(leMant->text().toStdString(), leExp->text().toStdString(), negative_);
    if (!reading.value) {
        if (!reading.message.empty())
            ui_.message(reading.message);
        leDecimal->setText("Conversion failed");
        return std::nullopt;
    }
    const DecimalText decimal = exactDecimal(*reading.value);
    leDecimal->setText(QString::fromStdString(decimal.text));
    lbError->setText(QString::fromStdString(decimal.note));
    lbError->setVisible(!decimal.note.empty());
    return reading.value;
}

void TCalcForm::btLeftClick() {
    convertLeft();
}

void TCalcForm::btEnterClick() {
    const auto value = convertLeft();
    if (value && assign_)
        assign_(*value, leDecimal->text().toStdString());
}

void TCalcForm::leMantChange() {
    btEnter->setEnabled(true);
    lbError->hide();
}
