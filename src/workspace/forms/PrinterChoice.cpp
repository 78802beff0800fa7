#include "workspace/forms/PrinterChoice.h"

#include "common/Ui.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

bool choosePrinter(QPrinter& printer, Ui& ui, QWidget* parent, const std::string& pdfTitle,
                   const std::string& pdfProposal) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const auto path = ui.saveFile(pdfTitle, "PDF|*.pdf", pdfProposal);
        if (!path)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(*path));
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
