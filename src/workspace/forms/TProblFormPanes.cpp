// The problem window's panes: editing, the aids on entering an empty pane, the aligned
// splitters, the caption, the keyboard stop request and the font command.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/PaneAids.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>

#include <numbers>

std::vector<std::string> TProblForm::paneLines(const QPlainTextEdit* pane) const {
    std::vector<std::string> lines;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    // An empty pane has one empty block, and a final line break leaves another.
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

void TProblForm::setPaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    pane->setPlainText(texts.join('\n'));
}

void TProblForm::clearPanes() {
    for (QPlainTextEdit* pane : {REditConst, REditInit, REditAux, REditODEs})
        pane->clear();
}

bool TProblForm::modified() const {
    return Save1->isEnabled();
}

void TProblForm::setModified(bool modified) {
    Save1->setEnabled(modified);
}

void TProblForm::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TProblForm::REditConstChange() {
    bool wasCompiled = problem_.Compiled;
    problem_.Compiled = false;
    lbConvRad->setText("Not compiled yet                ");
    hideGraphWindow();
    if (!modified()) {
        resetCompiledState();
        setModified(true);
        FormPaint();
    } else if (wasCompiled) {
        // The commands of a compiled problem go off with the first edit after compiling.
        FormPaint();
    }
}

void TProblForm::polynomialsEdited() {
    REditConstChange();
}

void TProblForm::REditInitEnter() {
    if (!paneLines(REditInit).empty())
        return;
    std::vector<std::string> lines = initialLinesForOdes(paneLines(REditODEs));
    if (!lines.empty())
        setPaneLines(REditInit, lines);
}

void TProblForm::REditODEsEnter() {
    if (!paneLines(REditODEs).empty())
        return;
    std::vector<std::string> lines = odeLinesForInitialValues(paneLines(REditInit));
    if (!lines.empty())
        setPaneLines(REditODEs, lines);
}

// The two columns stay aligned: each splitter gives the other column the same division. From
// the first move on, the division is the user's and stays through every problem opened.
void TProblForm::splitterLeftMoved() {
    panesSplitByUser_ = true;
    QSignalBlocker blocker(splitterRight);
    splitterRight->setSizes(splitterLeft->sizes());
}

void TProblForm::splitterRightMoved() {
    panesSplitByUser_ = true;
    QSignalBlocker blocker(splitterLeft);
    splitterLeft->setSizes(splitterRight->sizes());
}

// Until the user divides them, the upper and the lower panes share the height by their lines,
// each keeping room for a few.
void TProblForm::sharePaneHeights() {
    if (panesSplitByUser_)
        return;
    constexpr std::size_t FewLines = 4;
    auto lines = [this](QPlainTextEdit* first, QPlainTextEdit* second) {
        return static_cast<int>(
            std::max({paneLines(first).size(), paneLines(second).size(), FewLines}));
    };
    const int upper = lines(REditConst, REditAux);
    const int lower = lines(REditInit, REditODEs);
    const int height = std::max(splitterLeft->height(), 2);
    const QList<int> sizes{height * upper / (upper + lower), height * lower / (upper + lower)};
    QSignalBlocker leftBlocker(splitterLeft), rightBlocker(splitterRight);
    splitterLeft->setSizes(sizes);
    splitterRight->setSizes(sizes);
}

// Any key withdraws a pending stop request; Esc makes one.
void TProblForm::FormKeyDown(int key) {
    state_.Interrupt = key == Qt::Key_Escape;
}

void TProblForm::rbDegreesClick() {
    state_.AngleFactor = rbDegrees->isChecked() ? std::numbers::pi_v<Extended> / 180 : 1;
}

int TProblForm::termCount() const {
    return state_.TermCount;
}

void TProblForm::Font1Click() {
    int page = PageControl1->currentIndex();
    if (page != EquationsPage && page != DebuggingPage) {
        ui_.message("No font change at this page");
        return;
    }
    bool accepted = false;
    QFont current = page == EquationsPage ? REditConst->font() : sgDebug->font();
    QFont font = QFontDialog::getFont(&accepted, current, this);
    if (!accepted)
        return;
    applyFont(font);
}

void TProblForm::applyFont(const QFont& font) {
    if (PageControl1->currentIndex() == EquationsPage) {
        for (QPlainTextEdit* pane : {REditConst, REditInit, REditAux, REditODEs})
            pane->setFont(font);
        return;
    }
    sgDebug->setFont(font);
    sgDebug->horizontalHeader()->setFont(font);
    QFontMetrics metrics(font);
    sgDebug->horizontalHeader()->setDefaultSectionSize(
        metrics.horizontalAdvance("-0.000000e-0000"));
    sgDebug->verticalHeader()->setDefaultSectionSize(qRound(1.2 * metrics.height()));
    sgDebug->setColumnWidth(0, metrics.horizontalAdvance(" Index "));
    int nameWidth = sgDebug->columnWidth(1);
    for (int row = 0; row < sgDebug->rowCountWithHeader(); ++row)
        nameWidth =
            std::max(nameWidth,
                     metrics.horizontalAdvance(QString::fromStdString(sgDebug->cell(1, row))) + 4);
    sgDebug->setColumnWidth(1, nameWidth);
    sgDebug->setColumnWidth(2, metrics.horizontalAdvance("-0.0000000000000000000e-0000"));
}

bool TProblForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == REditInit)
            REditInitEnter();
        else if (watched == REditODEs)
            REditODEsEnter();
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == stSpecPoint && mouse->button() == Qt::RightButton)
            stSpecPointMouseDown();
        else if (watched == StaticTextClipBoard)
            StaticTextClipBoardMouseDown(mouse->modifiers());
        else if (watched == lbRadLim)
            lbRadLimClick();
        else if (watched == lbDifOrder)
            Changeorder1Click();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (watched == sgParameters->viewport())
            QMetaObject::invokeMethod(this, &TProblForm::sgParametersMouseUp, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
