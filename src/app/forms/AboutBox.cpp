// The About box.
#include "app/forms/AboutBox.h"

#include <QMessageBox>

void showAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle("About Orvanta");
    box.setIconPixmap(QPixmap());
    box.setTextFormat(Qt::RichText);
    box.setText("<h3>Orvanta</h3>"
                "<p>A workbench for initial value problems of ordinary differential equations,"
                " solved by Taylor series with automatic differentiation in 80-bit extended"
                " precision.</p>"
                "<p>Write a problem in the four panes of the main window, or open one from the"
                " \"Samples\" folder, compile it (F9) and integrate it with \"More\".</p>");
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}
