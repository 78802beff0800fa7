// The phase-portrait designer's controls and its menu.
#include "graphics/forms/TFieldParamForm.h"

#include "workspace/forms/RunInputGuard.h"

#include "workspace/forms/RadioGroup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFieldParamForm::TFieldParamForm(Actions actions, QWidget* parent)
    : QMainWindow(parent, Qt::Tool), actions_(std::move(actions)) {
    setWindowTitle("Phase portrait designer");
    setAttribute(Qt::WA_DeleteOnClose);
    // It stays open beside the graph window, whose runs its Make and Clear must not reach.
    RunInputGuard::guardDuringRuns(*this);
    auto* client = new QWidget(this);
    setCentralWidget(client);

    leX = new QLineEdit(client);
    leY = new QLineEdit(client);
    leZ = new QLineEdit(client);
    edStrokes = new QLineEdit(client);
    auto* nodes = new QFormLayout;
    nodes->addRow("Nodes in X", leX);
    nodes->addRow("Nodes in Y", leY);
    nodes->addRow("Nodes in Z", leZ);
    nodes->addRow("Steps in a stroke", edStrokes);

    rgSizeOfElem =
        new RadioGroup("Stroke length ...", {"Unlimited", "Limited by number of pixels"}, client);
    edSize = new QLineEdit(rgSizeOfElem);
    rgSizeOfElem->itemLayout()->addWidget(edSize);
    rgTypeOfElem = new RadioGroup("Stroke type", {"Curvy", "Linear"}, client);
    cbShowNode = new QCheckBox("Show nodes", client);
    cbTable = new QCheckBox("Use table", client);
    lbColor = new QLabel("Stroke color", client);
    lbColor->setAutoFillBackground(true);
    lbColor->setMinimumHeight(20);
    memPoints = new QPlainTextEdit(client);
    memPoints->setToolTip("x, y, z: one point a line");
    Memo1 = new QPlainTextEdit(client);
    Memo1->setReadOnly(true);
    Memo1->setPlainText("n step stroke is a curvy image in the mapping: \n"
                        "(t-nh, t+nh) → stroke, where step h=kR\n"
                        "(the ratio k<½ is in the Integration Page in Main form)");
    Memo1->setMaximumHeight(72);
    btMake = new QPushButton("Make", client);
    btClear = new QPushButton("Clear", client);

    auto* grid = new QGridLayout(client);
    grid->addLayout(nodes, 0, 0);
    grid->addWidget(rgSizeOfElem, 1, 0);
    grid->addWidget(rgTypeOfElem, 2, 0);
    grid->addWidget(cbShowNode, 3, 0);
    grid->addWidget(lbColor, 4, 0);
    grid->addWidget(cbTable, 0, 1, Qt::AlignTop);
    grid->addWidget(memPoints, 0, 1, 4, 1, Qt::AlignBottom);
    memPoints->setMinimumHeight(180);
    grid->addWidget(btClear, 4, 1);
    grid->addWidget(Memo1, 5, 0, 1, 2);
    grid->addWidget(btMake, 6, 0, 1, 2);

    QMenu* menu = menuBar()->addMenu("&Menu");
    menu->addAction("Color", this, &TFieldParamForm::Color1Click);
    menu->addAction("Close", this, &TFieldParamForm::Close1Click);

    connect(btMake, &QPushButton::clicked, this, &TFieldParamForm::btMakeClick);
    connect(btClear, &QPushButton::clicked, this, &TFieldParamForm::btClearClick);
}

void TFieldParamForm::FormCreate(const PortraitParams& params, QRgb strokeColour) {
    const PortraitTexts t = portraitTexts(params);
    leX->setText(QString::fromStdString(t.NodesX));
    leY->setText(QString::fromStdString(t.NodesY));
    leZ->setText(QString::fromStdString(t.NodesZ));
    edStrokes->setText(QString::fromStdString(t.StrokeSteps));
    edSize->setText(QString::fromStdString(t.PixelLimit));
    rgSizeOfElem->setItemIndex(static_cast<int>(t.Length));
    rgTypeOfElem->setItemIndex(static_cast<int>(t.Type));
    cbShowNode->setChecked(t.ShowNodes);
    cbTable->setChecked(t.UseTable);
    showColour(strokeColour);
}

void TFieldParamForm::showColour(QRgb strokeColour) {
    QPalette palette = lbColor->palette();
    palette.setColor(QPalette::Window, QColor(strokeColour));
    palette.setColor(QPalette::WindowText, qGray(strokeColour) < 128 ? Qt::white : Qt::black);
    lbColor->setPalette(palette);
}

PortraitTexts TFieldParamForm::texts() const {
    PortraitTexts t;
    t.NodesX = leX->text().toStdString();
    t.NodesY = leY->text().toStdString();
    t.NodesZ = leZ->text().toStdString();
    t.PixelLimit = edSize->text().toStdString();
    t.StrokeSteps = edStrokes->text().toStdString();
    t.Length = static_cast<StrokeLength>(rgSizeOfElem->itemIndex());
    t.Type = static_cast<StrokeType>(rgTypeOfElem->itemIndex());
    t.ShowNodes = cbShowNode->isChecked();
    t.UseTable = cbTable->isChecked();
    return t;
}

std::vector<std::string> TFieldParamForm::pointLines() const {
    std::vector<std::string> lines;
    for (const QString& line : memPoints->toPlainText().split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

void TFieldParamForm::appendPoint(const std::string& line) {
    memPoints->appendPlainText(QString::fromStdString(line));
}

bool TFieldParamForm::read() {
    if (reading_)
        return false;
    reading_ = true;
    const bool stored = actions_.read();
    reading_ = false;
    return stored;
}

void TFieldParamForm::btMakeClick() {
    if (read())
        actions_.make();
}

void TFieldParamForm::btClearClick() {
    memPoints->clear();
}

void TFieldParamForm::Color1Click() {
    actions_.colour();
}

void TFieldParamForm::Close1Click() {
    close();
}

void TFieldParamForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        read();
}

// Closing stores the parameters; with a wrong field the designer stays open for correction.
void TFieldParamForm::closeEvent(QCloseEvent* event) {
    if (read())
        event->accept();
    else
        event->ignore();
}
