// The problem window's "Result array" group: creating, growing and switching the array of
// stored points.
#include "workspace/forms/TProblForm.h"

#include "integrator/ResultsArray.h"
#include "workspace/WorkspaceState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

void setCheckedQuietly(QCheckBox* box, bool checked) {
    QSignalBlocker blocker(box);
    box->setChecked(checked);
}

} // namespace

void TProblForm::cbResultArrayClick() {
    if (!cbResultArray->isChecked()) {
        state_.Results.clear();
        setCheckedQuietly(cbAuxVarsToo, false);
        FormPaint();
        return;
    }
    createResultArray();
}

void TProblForm::createResultArray() {
    ResultsCreation creation = createResults(state_, problem_, ui_, edArrLen->text().toStdString(),
                                             cbAuxVarsToo->isChecked(), cbCircular->isChecked());
    if (creation.LengthText) {
        QSignalBlocker blocker(edArrLen);
        edArrLen->setText(QString::fromStdString(*creation.LengthText));
    }
    if (!creation.Created) {
        setCheckedQuietly(cbResultArray, false);
        setCheckedQuietly(cbAuxVarsToo, false);
    } else {
        setCheckedQuietly(cbResultArray, true);
        curveTable().savePrevious();
    }
    FormPaint();
}

void TProblForm::cbAuxVarsTooClick() {
    // Both with and without the auxiliary variables a click opens a new array.
    createResultArray();
}

void TProblForm::cbCircularClick() {
    setCheckedQuietly(cbCircular, setCircular(state_, ui_, cbCircular->isChecked()));
    FormPaint();
}

void TProblForm::edArrLenChange() {
    if (cbResultArray->isChecked() || cbAuxVarsToo->isChecked()) {
        setCheckedQuietly(cbResultArray, false);
        setCheckedQuietly(cbAuxVarsToo, false);
        state_.Results.clear();
        FormPaint();
    }
}

void TProblForm::btAppendClick() {
    AppendResults(state_, ui_);
    FormPaint();
}
