// Where a window's Print goes: the printer the user picks in the print dialog, or, on a machine
// with no printer installed, a PDF file the user names.
#pragma once

#include <string>

class QPrinter;
class QWidget;
class Ui;

// False when the user cancelled either dialog.
bool choosePrinter(QPrinter& printer, Ui& ui, QWidget* parent, const std::string& pdfTitle,
                   const std::string& pdfProposal);
