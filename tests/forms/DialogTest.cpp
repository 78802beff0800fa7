// The real dialogs: their icons, the default answer of the discard question, and the keyboard
// back with the problem window after each of them.
#include "FormTestSupport.h"

#include "app/forms/QtUi.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Answers the next modal dialog with Esc, after `look` has seen it.
void whenTheDialogShows(const std::function<void(QMessageBox*)>& look) {
    QTimer::singleShot(0, [look] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(box);
        box->reject();
    });
}

QString defaultText(QMessageBox* box) {
    return box->defaultButton() ? box->defaultButton()->text().remove('&') : QString();
}

} // namespace

class DialogTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        form->show();
        form->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), form.get());
    }
    QtUi real{nullptr};
};

TEST_F(DialogTest, ErrorsWarnAndNewsInforms) {
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    whenTheDialogShows([&](QMessageBox* box) { shown = box->icon(); });
    real.message("Wrong number");
    EXPECT_EQ(shown, QMessageBox::Warning);
    whenTheDialogShows([&](QMessageBox* box) { shown = box->icon(); });
    real.information("Interrupted!");
    EXPECT_EQ(shown, QMessageBox::Information);
}

TEST_F(DialogTest, TheDiscardQuestionDefaultsToKeepingTheWork) {
    QString defaultButton;
    whenTheDialogShows([&](QMessageBox* box) { defaultButton = defaultText(box); });
    EXPECT_FALSE(real.confirm("Unnamed ODEs not saved. Go ahead anyway? "));
    EXPECT_EQ(defaultButton.toStdString(), "Cancel");
    whenTheDialogShows([&](QMessageBox* box) { defaultButton = defaultText(box); });
    EXPECT_FALSE(real.ask("Save?"));
    EXPECT_EQ(defaultButton.toStdString(), "No");
}

TEST_F(DialogTest, TheKeyboardComesBackToTheProblemWindowAfterADialog) {
    auto* other = new QWidget;
    other->setAttribute(Qt::WA_DeleteOnClose);
    whenTheDialogShows([&](QMessageBox*) {
        // Where no window manager hands the focus back, it stays wherever it went.
        other->show();
        other->activateWindow();
        QApplication::processEvents();
    });
    real.message("Wrong number");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form.get());
    other->close();
}
