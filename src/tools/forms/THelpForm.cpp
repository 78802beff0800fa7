// The help window: its rich text, Size and Save, and the script launcher's controls.
#include "tools/forms/THelpForm.h"

#include "common/NumberText.h"
#include "common/TextFile.h"
#include "common/Ui.h"
#include "tools/forms/RichTextDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

THelpForm::THelpForm(Ui& ui, std::string programFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ui_(ui), programFolder_(std::move(programFolder)) {
    setObjectName("HelpForm");
    setWindowTitle("Help window and script launcher");
    menuBar()->addAction("Size", this, &THelpForm::Size1Click);
    menuBar()->addAction("Save", this, &THelpForm::Save1Click);

    RichEdit1 = new QTextEdit;
    RichEdit1->setReadOnly(true);
    RichEdit1->viewport()->installEventFilter(this);
    lbIntercept = new QLabel("Interception of  script file names from clipboard is going on");
    lbScrClick = new QLabel("To load a particular script from the list manually, double click at "
                            "any place of the line");
    cbAuto = new QCheckBox("Run intercepted scripts automatically");
    btClear = new QPushButton("Clear");
    Timer1 = new QTimer(this);
    Timer1->setInterval(500);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lbIntercept);
    layout->addWidget(lbScrClick);
    layout->addWidget(RichEdit1, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(cbAuto);
    row->addStretch();
    row->addWidget(btClear);
    layout->addLayout(row);
    setCentralWidget(central);
    resize(640, 560);

    connect(btClear, &QPushButton::clicked, this, &THelpForm::btClearClick);
    connect(cbAuto, &QCheckBox::clicked, this, &THelpForm::cbAutoClick);
    connect(Timer1, &QTimer::timeout, this, &THelpForm::checkClipboard);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    checkClipboard();
            });
    btClearClick();
}

void THelpForm::openHelp(const std::string& name) {
    if (name.empty()) {
        show();
        raise();
        return;
    }
    const std::string path = helpPath(programFolder_, name);
    switch (helpTargetOf(path)) {
    case HelpTarget::None:
        return;
    case HelpTarget::Desktop:
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
        return;
    case HelpTarget::Window:
        btClearClick();
        loadRichText(path);
        show();
        raise();
        activateWindow();
        return;
    }
}

bool THelpForm::loadRichText(const std::string& path) {
    const auto content = readWholeFile(path);
    const auto text = content ? parseRichText(*content) : std::nullopt;
    if (!text) {
        ui_.message("Cannot open file " + path);
        return false;
    }
    fillDocument(*RichEdit1->document(), *text);
    RichEdit1->moveCursor(QTextCursor::Start);
    return true;
}

bool THelpForm::loadScriptList(const std::string& path) {
    btClearClick();
    if (!loadRichText(path))
        return false;
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    std::vector<std::string> lines;
    for (QTextBlock block = RichEdit1->document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    launcher_.load(std::move(lines), std::filesystem::path(path).parent_path().string());
    // What is on the clipboard already is no request to run it.
    launcher_.intercept(ui_.clipboardText());
    lbIntercept->show();
    lbScrClick->show();
    cbAuto->show();
    show();
    raise();
    return true;
}

void THelpForm::btClearClick() {
    cbAuto->setChecked(false);
    cbAuto->hide();
    RichEdit1->clear();
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    lbIntercept->hide();
    lbScrClick->hide();
    Timer1->stop();
    launcher_.clear();
}

void THelpForm::cbAutoClick() {
    if (cbAuto->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

void THelpForm::checkClipboard() {
    if (lbIntercept->isHidden() || (Busy && Busy()))
        return;
    act(launcher_.intercept(ui_.clipboardText()));
}

void THelpForm::RichEdit1DblClick() {
    if (lbIntercept->isHidden())
        return;
    act(launcher_.lineChosen(RichEdit1->textCursor().blockNumber()));
}

void THelpForm::act(const LaunchRequest& request) {
    if (request.Line >= 0) {
        QTextCursor cursor(RichEdit1->document()->findBlockByNumber(request.Line));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        RichEdit1->setTextCursor(cursor);
    }
    if (request.What == LaunchRequest::Report)
        ui_.message(request.Message);
    else if (request.What == LaunchRequest::Run && RunScript)
        RunScript(request.Path);
}

void THelpForm::Size1Click() {
    const auto answer = ui_.inputBox("Changing the size", "Enter size < 20", "10");
    const auto size = answer ? parseInteger(trim(*answer)) : std::nullopt;
    if (!size)
        return;
    QTextCharFormat format;
    format.setFontPointSize(static_cast<double>(std::clamp<long long>(*size, 10, 20)));
    QTextCursor cursor(RichEdit1->document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
}

void THelpForm::Save1Click() {
    const auto name = ui_.saveFile("Save", "Rich text|*.rtf", "");
    if (!name)
        return;
    const std::string path = std::filesystem::path(*name).replace_extension(".rtf").string();
    if (!writeFileAtomically(path, writeRichText(richTextOf(*RichEdit1->document()))))
        ui_.message("Cannot save " + path);
}

void THelpForm::closeEvent(QCloseEvent* event) {
    btClearClick();
    event->accept();
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const bool handled = QMainWindow::eventFilter(watched, event);
        RichEdit1DblClick();
        return handled;
    }
    return QMainWindow::eventFilter(watched, event);
}

THelpForm* helpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<THelpForm*>(widget))
            return help;
    return nullptr;
}

void openHelp(const std::string& name) {
    if (THelpForm* help = helpWindow())
        help->openHelp(name);
}
