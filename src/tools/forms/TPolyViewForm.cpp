// The polynomial viewer.
#include "tools/forms/TPolyViewForm.h"

#include "common/Ui.h"
#include "tools/PolynomialView.h"

#include <QMenuBar>
#include <QPlainTextEdit>

TPolyViewForm::TPolyViewForm(Ui& ui, QWidget* parent) : QMainWindow(parent), ui_(ui) {
    setWindowTitle("Polynomial view");
    memView = new QPlainTextEdit;
    memView->setReadOnly(true);
    memView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setCentralWidget(memView);
    QMenu* copy = menuBar()->addMenu("Copy");
    Pt1 = copy->addAction("P(t) only", this, &TPolyViewForm::Pt1Click);
    Pt2 = copy->addAction("P'(t) only", this, &TPolyViewForm::Pt2Click);
    Entirepolynomial1 =
        copy->addAction("Entire polynomial", this, &TPolyViewForm::Entirepolynomial1Click);
    resize(520, 200);
}

void TPolyViewForm::showPolynomial(const DesignedPolynomial& polynomial) {
    shown_ = polynomial;
    const PolynomialText text = polynomialText(polynomial, polynomial.IndepName);
    memView->setPlainText(
        QString::fromStdString(text.IndepPart + "\n" + text.FirstPart + "\n" + text.SecondPart));
}

void TPolyViewForm::Pt1Click() {
    ui_.setClipboardText(polynomialText(shown_, shown_.IndepName).IndepPart);
}

void TPolyViewForm::Pt2Click() {
    ui_.setClipboardText(indepDerivativeText(shown_, shown_.IndepName));
}

void TPolyViewForm::Entirepolynomial1Click() {
    ui_.setClipboardText(entirePolynomialText(polynomialText(shown_, shown_.IndepName)));
}
