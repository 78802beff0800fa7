// The 3D parameters form: the grid reads the model's parameters and writes them back on closing.
#include "graphics/forms/TForm3D.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const RowCaptions[] = {"Distance between eyes",
                                   "Screen image width",
                                   "Eyes-to-screen distance (CS)",
                                   "Eyes-to-front of the 3D scene (CD)",
                                   "Turn around the center along X axis",
                                   "Turn around the center along Y axis",
                                   "Turn around the center along Z axis"};

} // namespace

TForm3D::TForm3D(GraphModel& model, GraphProblem& graph, Ui& ui, QWidget* parent)
    : QDialog(parent), model_(model), graph_(graph), ui_(ui) {
    setWindowTitle("Parameters for 3D (in cm)");
    menu = new QMenuBar(this);
    menu->addAction("Z stops", this, &TForm3D::Zstops1Click);
    StringGrid1 = new QTableWidget(7, 2, this);
    StringGrid1->setToolTip("Enter or Esc - to close form");
    StringGrid1->horizontalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->setColumnWidth(0, 260);
    StringGrid1->setColumnWidth(1, 110);
    lbSwap = new QLabel("You may also swap assignment of curve components to axes X, Y, Z", this);
    lbSwap->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(StringGrid1);
    layout->addWidget(lbSwap);
    resize(400, 320);
    FormCreate();
}

void TForm3D::FormCreate() {
    const ViewCells texts = viewCells(model_.View.Params);
    for (int row = 0; row < 7; ++row) {
        auto* caption = new QTableWidgetItem(RowCaptions[row]);
        caption->setFlags(caption->flags() & ~Qt::ItemIsEditable);
        StringGrid1->setItem(row, 0, caption);
        StringGrid1->setItem(
            row, 1,
            new QTableWidgetItem(QString::fromStdString(texts[static_cast<std::size_t>(row)])));
    }
    setResult(QDialog::Rejected);
}

ViewCells TForm3D::cells() const {
    ViewCells texts;
    for (int row = 0; row < 7; ++row) {
        const QTableWidgetItem* item = StringGrid1->item(row, 1);
        texts[static_cast<std::size_t>(row)] = item ? item->text().toStdString() : std::string();
    }
    return texts;
}

void TForm3D::Zstops1Click() {
    askZStops(model_.View.Params, ui_);
}

bool TForm3D::FormClose() {
    StringGrid1->setCurrentItem(nullptr); // an open cell editor hands its text over
    switch (applyViewCells(model_, graph_, ui_, cells())) {
    case ViewCellsEnd::StayOpen:
        return false;
    case ViewCellsEnd::Applied:
        setResult(QDialog::Accepted);
        return true;
    case ViewCellsEnd::ClosedAnyway:
    case ViewCellsEnd::NotIn3D:
        return true;
    }
    return true;
}

// Enter and Esc close the form, through the same check as the close box.
void TForm3D::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        done(QDialog::Rejected);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm3D::closeEvent(QCloseEvent* event) {
    event->ignore();
    done(QDialog::Rejected);
}

void TForm3D::done(int) {
    if (!closing_ && !FormClose())
        return;
    closing_ = true;
    QDialog::done(result());
}
