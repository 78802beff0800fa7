// Our rich text into a QTextDocument and back, for the help window and its Save.
#pragma once

#include "tools/RichText.h"

class QTextDocument;

void fillDocument(QTextDocument& document, const RichText& text);
RichText richTextOf(const QTextDocument& document);
