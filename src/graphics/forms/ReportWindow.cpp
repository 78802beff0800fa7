// The report window's text and its saving.
#include "graphics/forms/ReportWindow.h"

#include "common/TextFile.h"
#include "common/Ui.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReportWindow::ReportWindow(Ui& ui, QWidget* parent) : QWidget(parent, Qt::Window), ui_(ui) {
    setWindowTitle("Image Info");
    resize(640, 420);
    REdit = new QPlainTextEdit;
    btSave = new QPushButton("Save");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(REdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSave);
    layout->addLayout(buttons);
    connect(btSave, &QPushButton::clicked, this, &ReportWindow::btSaveClick);
}

void ReportWindow::showLines(const std::vector<std::string>& lines) {
    REdit->clear();
    for (const std::string& line : lines) {
        QString text = QString::fromStdString(line);
        if (text.endsWith("\r\n"))
            text.chop(2);
        REdit->appendPlainText(text.replace("\r\n", "\n"));
    }
    show();
    raise();
    activateWindow();
}

std::string ReportWindow::text() const {
    return REdit->toPlainText().toStdString();
}

void ReportWindow::btSaveClick() {
    const auto path = ui_.saveFile("Save report", "Text|*.txt", "ImageInfo.txt");
    if (!path)
        return;
    if (!writeFileAtomically(*path, joinLines(splitLines(text()))))
        ui_.message("Cannot write " + *path);
}
