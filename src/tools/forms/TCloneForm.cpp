#include "tools/forms/TCloneForm.h"

#include "common/TextFile.h"
#include "common/Ui.h"
#include "tools/forms/THelpForm.h"
#include "workspace/forms/RadioGroup.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A 4 x 4 grid of nodes with the chosen ones filled: the diagonal or all of them.
QPixmap shapePicture(bool product) {
    QPixmap picture(90, 90);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const bool chosen = product || i == j;
            painter.setBrush(chosen ? Qt::darkBlue : Qt::white);
            painter.drawEllipse(QPointF(15 + 20 * i, 75 - 20 * j), 5, 5);
        }
    return picture;
}

} // namespace

TCloneForm::TCloneForm(const CloneSource& source, const QString& initialPane, Ui& ui,
                       QWidget* parent)
    : QDialog(parent), source_(source), ui_(ui) {
    setWindowTitle("Unfolding a multi-valued IVP into an array of IVPs");
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    menu->addAction("Save all vectors", this, &TCloneForm::Saveastext1Click);
    layout->setMenuBar(menu);

    auto* sets = new QGroupBox("The source sets delimited with semicolons in the right hand sides");
    auto* setsLayout = new QVBoxLayout(sets);
    REditInit = new QPlainTextEdit(initialPane);
    REditInit->setReadOnly(true);
    setsLayout->addWidget(REditInit);
    layout->addWidget(sets);

    auto* shape = new QHBoxLayout;
    rgArrayType = new RadioGroup(
        "The array of Initial Vectors (as points of n-dimensional grid)  is... ",
        {"A set of vectors of corresponding elements in the source sets (the nods of the "
         "\"diagonal\")",
         "A direct product of the source sets (all nods of the n-dimensional grid)"});
    shape->addWidget(rgArrayType, 1);
    imDiagonal = new QLabel;
    imDiagonal->setPixmap(shapePicture(false));
    imDirProd = new QLabel;
    imDirProd->setPixmap(shapePicture(true));
    shape->addWidget(imDiagonal);
    shape->addWidget(imDirProd);
    layout->addLayout(shape);

    lbTotal = new QLabel;
    layout->addWidget(lbTotal);
    auto* buttons = new QHBoxLayout;
    btUnfold = new QPushButton("Unfold");
    btCancel = new QPushButton("Cancel");
    buttons->addStretch();
    buttons->addWidget(btUnfold);
    buttons->addWidget(btCancel);
    auto* btHelp = new QPushButton("Help");
    buttons->addWidget(btHelp);
    connect(btHelp, &QPushButton::clicked, this, [] { openHelp("IVPArray.rtf"); });
    layout->addLayout(buttons);

    connect(rgArrayType, &RadioGroup::clicked, this, &TCloneForm::rgArrayTypeClick);
    connect(btUnfold, &QPushButton::clicked, this, &TCloneForm::btUnfoldClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    rgArrayType->setItemIndex(0);
    rgArrayTypeClick();
}

void TCloneForm::rgArrayTypeClick() {
    const bool product = rgArrayType->itemIndex() == 1;
    index_ = product ? productIndex(source_) : diagonalIndex(source_);
    imDiagonal->setVisible(!product);
    imDirProd->setVisible(product);
    // A product too large to list is shown by its saturated size; Unfold then refuses it.
    const std::size_t vectors =
        product ? static_cast<std::size_t>(productSize(source_)) : index_.size();
    lbTotal->setText(QString::fromStdString(cloneTotalText(vectors)));
}

void TCloneForm::btUnfoldClick() {
    if (index_.empty()) {
        ui_.message(tooManyVectorsText());
        return;
    }
    unfolded_ = index_;
    accept();
}

void TCloneForm::Saveastext1Click() {
    const auto path = ui_.saveFile("Save all vectors", "Text|*.txt", "vectors.txt");
    if (!path)
        return;
    if (!writeFileAtomically(*path, vectorListText(source_, index_)))
        ui_.message("Cannot write " + *path);
    reject();
}
