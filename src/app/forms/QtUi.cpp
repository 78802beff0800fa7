// The dialog seam on real Qt dialogs.
#include "app/forms/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace {

// A dialog's answer: nothing when it was cancelled.
std::optional<std::string> chosenName(const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    return name.toStdString();
}

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Message texts carry "\n\r" pairs; a label shows the carriage return as a second break.
QString messageText(const std::string& text) {
    QString result = toQt(text);
    result.replace("\n\r", "\n").replace("\r\n", "\n").replace('\r', '\n');
    return result;
}

QString applicationTitle() {
    QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Orvanta") : name;
}

// A dialog leaves the keyboard with the window it was opened from, so that its shortcuts work at
// once, whether or not a window manager gives the focus back.
template <class Dialog> auto returningFocus(Dialog dialog) {
    QPointer<QWidget> active = QApplication::activeWindow();
    auto result = dialog();
    if (active && active->isVisible()) {
        active->raise();
        active->activateWindow();
    }
    return result;
}

} // namespace

std::string qtFileFilter(const std::string& filter) {
    QStringList parts = toQt(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" means every file, but on this system it would hide the names without a dot.
        QString patterns = QString(parts[i + 1]).replace(';', ' ');
        if (patterns == "*.*")
            patterns = "*";
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return entries.join(";;").toStdString();
}

void QtUi::message(const std::string& text) {
    returningFocus(
        [&] { return QMessageBox::warning(owner_, applicationTitle(), messageText(text)); });
}

void QtUi::information(const std::string& text) {
    returningFocus(
        [&] { return QMessageBox::information(owner_, applicationTitle(), messageText(text)); });
}

// The default button is the one that keeps things as they are.
bool QtUi::confirm(const std::string& text) {
    return returningFocus([&] {
               return QMessageBox::warning(owner_, applicationTitle(), messageText(text),
                                           QMessageBox::Ok | QMessageBox::Cancel,
                                           QMessageBox::Cancel);
           }) == QMessageBox::Ok;
}

bool QtUi::ask(const std::string& text) {
    return returningFocus([&] {
               return QMessageBox::question(owner_, applicationTitle(), messageText(text),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
           }) == QMessageBox::Yes;
}

std::optional<std::string> QtUi::inputBox(const std::string& title, const std::string& prompt,
                                          const std::string& proposal) {
    bool accepted = false;
    QString answer = returningFocus([&] {
        return QInputDialog::getText(owner_, toQt(title), messageText(prompt).trimmed(),
                                     QLineEdit::Normal, toQt(proposal), &accepted);
    });
    if (!accepted)
        return std::nullopt;
    return answer.toStdString();
}

std::optional<std::string> QtUi::openFile(const std::string& title, const std::string& filter,
                                          const std::string& proposal) {
    return chosenName(returningFocus([&] {
        return QFileDialog::getOpenFileName(owner_, toQt(title), toQt(proposal),
                                            toQt(qtFileFilter(filter)));
    }));
}

std::optional<std::string> QtUi::saveFile(const std::string& title, const std::string& filter,
                                          const std::string& proposal) {
    return chosenName(returningFocus([&] {
        return QFileDialog::getSaveFileName(owner_, toQt(title), toQt(proposal),
                                            toQt(qtFileFilter(filter)));
    }));
}

// The run adds to an existing file, so the dialog does not ask whether to replace it.
std::optional<std::string> QtUi::appendFile(const std::string& title, const std::string& filter,
                                            const std::string& proposal) {
    return chosenName(returningFocus([&] {
        return QFileDialog::getSaveFileName(owner_, toQt(title), toQt(proposal),
                                            toQt(qtFileFilter(filter)), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }));
}

std::optional<FilteredFile> QtUi::saveFileFiltered(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& proposal, int filterIndex) {
    const QStringList filters = toQt(qtFileFilter(filter)).split(";;");
    QString chosen = filters.value(filterIndex - 1);
    QString name = returningFocus([&] {
        return QFileDialog::getSaveFileName(owner_, toQt(title), toQt(proposal), filters.join(";;"),
                                            &chosen);
    });
    if (name.isEmpty())
        return std::nullopt;
    return FilteredFile{name.toStdString(), static_cast<int>(filters.indexOf(chosen)) + 1};
}

void QtUi::processEvents() {
    QApplication::processEvents();
}

std::string QtUi::clipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtUi::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(toQt(text));
}

std::optional<std::uint32_t> QtUi::chooseColour(std::uint32_t initial) {
    const QColor chosen = QColorDialog::getColor(
        QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF), owner_);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red() | chosen.green() << 8 | chosen.blue() << 16);
}
