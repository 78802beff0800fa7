// The log of failed error tests.
#include "workspace/forms/FailureLogForm.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

FailureLogForm::FailureLogForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Failed error tests");
    memoLog = new QPlainTextEdit(this);
    memoLog->setReadOnly(true);
    memoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    memoLog->setFont(fixed);
    memoLog->setTabStopDistance(4 * memoLog->fontMetrics().horizontalAdvance(' ') * 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(memoLog);
    resize(480, 260);
}

bool FailureLogForm::showLines(const std::vector<std::string>& lines) {
    if (lines.size() < shownLines_) {
        memoLog->clear();
        shownLines_ = 0;
    }
    // A long run may log many lines; only the new ones are added.
    for (std::size_t i = shownLines_; i < lines.size(); ++i)
        memoLog->appendPlainText(QString::fromStdString(lines[i]));
    bool added = lines.size() > shownLines_;
    shownLines_ = lines.size();
    return added;
}

std::string FailureLogForm::text() const {
    return memoLog->toPlainText().toStdString();
}
