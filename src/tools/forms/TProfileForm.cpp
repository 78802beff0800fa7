// The Taylor profile window: reads its controls, asks the profile arithmetic for the bars and
// draws them.
#include "tools/forms/TProfileForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>

void ProfileBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int terms = static_cast<int>(Heights.size());
    if (terms == 0)
        return;
    const int w = barWidth(width(), terms);
    for (int n = 0; n < terms; ++n) {
        const int h = Heights[static_cast<std::size_t>(n)];
        painter.fillRect(barLeft(n, width(), terms), height() - h, w, h,
                         Negative[static_cast<std::size_t>(n)] ? Qt::blue : Qt::red);
    }
}

void ProfileBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void ProfileBox::mouseMoveEvent(QMouseEvent* event) {
    emit pointerAt(static_cast<int>(event->position().x()));
}

TProfileForm::TProfileForm(EngineState& engine, Ui& ui, std::function<ProfileSource()> source,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), engine_(engine), ui_(ui), source_(std::move(source)) {
    setWindowTitle(ProfileCaption);
    setToolTip("Ctrl-C to copy the bitmap into Clipboard");
    resize(760, 420);

    cbVarNames = new QComboBox;
    lbOrder = new QLabel;
    gbStep = new QGroupBox("h");
    rbTo1 = new QRadioButton("to 1");
    rbThisValue = new QRadioButton("to value below");
    rbUseBar = new QRadioButton("with slide bar");
    rbTo1->setChecked(true);
    edh = new QLineEdit("1");
    auto* stepLayout = new QVBoxLayout(gbStep);
    for (QWidget* widget : std::initializer_list<QWidget*>{rbTo1, rbThisValue, rbUseBar, edh})
        stepLayout->addWidget(widget);
    gbLinearOrLog = new QGroupBox("Diagram");
    rbAsIs = new QRadioButton("as is");
    rbLg = new QRadioButton("logarithmic");
    rbAsIs->setChecked(true);
    auto* kindLayout = new QVBoxLayout(gbLinearOrLog);
    kindLayout->addWidget(rbAsIs);
    kindLayout->addWidget(rbLg);
    lbMax = new QLabel;
    lbMax->setWordWrap(true);

    auto* panel = new QWidget;
    panel->setFixedWidth(190);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(cbVarNames);
    panelLayout->addWidget(lbOrder);
    // The radius label stays in the middle of the free height between the list and the
    // choices, so it never covers the variable list.
    lbR = new QLabel;
    lbR->setToolTip("Heurisitc convergence radius");
    lbR->setWordWrap(true);
    panelLayout->addStretch(1);
    panelLayout->addWidget(lbR);
    panelLayout->addStretch(1);
    panelLayout->addWidget(gbStep);
    panelLayout->addWidget(gbLinearOrLog);
    panelLayout->addWidget(lbMax);

    tbVert = new QSlider(Qt::Vertical);
    tbVert->setRange(0, ProfileSlideMax);
    tbVert->setInvertedAppearance(true); // position 0 (h = 2R) at the top, as the bar reads
    tbVert->setValue(ProfileSlideMax);
    tbVert->setToolTip("h varies from 0 to double conv. radius");
    PaintBox1 = new ProfileBox;
    PaintBox1->setMouseTracking(true);
    PaintBox1->setMinimumSize(100, 60);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(tbVert);
    layout->addWidget(PaintBox1, 1);

    connect(cbVarNames, &QComboBox::currentIndexChanged, this, &TProfileForm::cbVarNamesChange);
    for (QRadioButton* button : {rbTo1, rbThisValue, rbUseBar})
        connect(button, &QRadioButton::clicked, this, &TProfileForm::rbStepClick);
    for (QRadioButton* button : {rbAsIs, rbLg})
        connect(button, &QRadioButton::clicked, this, &TProfileForm::rbKindClick);
    connect(edh, &QLineEdit::returnPressed, this, &TProfileForm::edhReturn);
    connect(tbVert, &QSlider::valueChanged, this, &TProfileForm::tbVertChange);
    connect(PaintBox1, &ProfileBox::resized, this, &TProfileForm::redraw);
    connect(PaintBox1, &ProfileBox::pointerAt, this, &TProfileForm::PaintBox1MouseMove);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &TProfileForm::copyToClipboard);
}

void TProfileForm::FormActivate() {
    current_ = source_ ? source_() : ProfileSource{};
    const QString chosen = cbVarNames->currentText();
    {
        const QSignalBlocker blocker(cbVarNames);
        cbVarNames->clear();
        for (const std::string& name : current_.Names)
            cbVarNames->addItem(QString::fromStdString(trim(name)));
        int index = cbVarNames->findText(chosen);
        if (index < 0)
            index = current_.Independent == 0 && current_.Names.size() > 1 ? 1 : 0;
        cbVarNames->setCurrentIndex(index);
    }
    takeCoefficients();
}

// The chosen variable's coefficients and radius; the slide bar starts at h = R/2.
void TProfileForm::takeCoefficients() {
    const int index = cbVarNames->currentIndex();
    coefficients_.clear();
    if (index >= 0 && current_.Coefficients)
        coefficients_ = current_.Coefficients(index);
    radius_ = coefficients_.empty() ? 0 : profileRadius(engine_, coefficients_.data());
    lbOrder->setText(QString::fromStdString(
        formatText("Order: %d", static_cast<int>(coefficients_.size()) - 1)));
    lbR->setText(QString::fromStdString(radiusLabel(radius_)));
    if (rbUseBar->isChecked()) {
        h_ = radius_ / 2;
        edh->setText(QString::fromStdString(formatDisplay(h_)));
        settingBar_ = true;
        tbVert->setValue(slidePosition(h_, radius_));
        settingBar_ = false;
    } else if (rbTo1->isChecked()) {
        h_ = 1;
    }
    redraw();
}

void TProfileForm::redraw() {
    bars_ = profileBars(coefficients_, h_, rbLg->isChecked(), PaintBox1->height());
    PaintBox1->Heights = bars_.Heights;
    PaintBox1->Negative = bars_.Negative;
    lbMax->setText(QString::fromStdString(maxLabel(bars_)));
    PaintBox1->update();
}

void TProfileForm::cbVarNamesChange() {
    takeCoefficients();
}

void TProfileForm::rbStepClick() {
    edh->setEnabled(!rbTo1->isChecked());
    tbVert->setEnabled(rbUseBar->isChecked());
    if (rbThisValue->isChecked()) {
        edhReturn();
        return;
    }
    takeCoefficients();
}

void TProfileForm::edhReturn() {
    if (!rbThisValue->isChecked())
        return;
    const auto value = parseTrimmedNumber(edh->text().toStdString());
    if (!value) {
        ui_.message("\"" + edh->text().toStdString() + "\" is not a valid value of h");
        return;
    }
    h_ = *value;
    redraw();
}

void TProfileForm::tbVertChange(int position) {
    if (settingBar_ || !rbUseBar->isChecked())
        return;
    h_ = slideStep(position, radius_);
    edh->setText(QString::fromStdString(formatDisplay(h_)));
    redraw();
}

void TProfileForm::rbKindClick() {
    redraw();
}

void TProfileForm::PaintBox1MouseMove(int x) {
    setWindowTitle(QString::fromStdString(mouseCaption(
        monomialUnderMouse(x, PaintBox1->width(), static_cast<int>(coefficients_.size())))));
}

void TProfileForm::copyToClipboard() {
    QApplication::clipboard()->setImage(grab().toImage());
}

void TProfileForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TProfileForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (onClose)
        onClose();
}
