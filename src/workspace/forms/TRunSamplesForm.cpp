// The runner window: its caption and prompt from the catalogue, the number checked, the orbit read.
#include "workspace/forms/TRunSamplesForm.h"

#include "common/Ui.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TRunSamplesForm::TRunSamplesForm(Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setWindowTitle("Run numbered samples");
    setMinimumWidth(520); // room for the catalogue's title in the caption
    lbNumber = new QLabel;
    UpDown1 = new QSpinBox;
    btRun = new QPushButton("Run this");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbNumber);
    auto* row = new QHBoxLayout;
    row->addWidget(UpDown1);
    row->addWidget(btRun);
    layout->addLayout(row);
    connect(btRun, &QPushButton::clicked, this, &TRunSamplesForm::btRunClick);
}

void TRunSamplesForm::showCatalog(
    const SampleCatalog& catalog,
    std::function<void(const SampleCatalog&, const SampleOrbit&)> run) {
    catalog_ = catalog;
    run_ = std::move(run);
    setWindowTitle(QString::fromStdString(runnerCaption(catalog)));
    lbNumber->setText(QString::fromStdString(runnerPrompt(catalog)));
    UpDown1->setRange(1, std::max(1, catalog.Count));
    show();
    raise();
}

void TRunSamplesForm::btRunClick() {
    // The spin box's own text is what the user typed, even a number it would not take.
    const std::string typed = UpDown1->cleanText().toStdString();
    const auto number = chosenOrbit(typed, catalog_, ui_);
    if (!number)
        return;
    if (auto orbit = readOrbit(catalog_, *number, ui_); orbit && run_)
        run_(catalog_, *orbit);
}
