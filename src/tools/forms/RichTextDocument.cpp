// Paragraphs become blocks and runs become fragments with their bold, italic, size and font.
#include "tools/forms/RichTextDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void fillDocument(QTextDocument& document, const RichText& text) {
    document.clear();
    QTextCursor cursor(&document);
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (p > 0)
            cursor.insertBlock();
        for (const RichRun& run : text[p].Runs) {
            QTextCharFormat format;
            format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.Italic);
            format.setFontPointSize(run.HalfPoints / 2.0);
            if (!run.Font.empty())
                format.setFontFamilies({QString::fromStdString(run.Font)});
            cursor.insertText(QString::fromStdString(run.Text), format);
        }
    }
}

RichText richTextOf(const QTextDocument& document) {
    RichText text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        RichParagraph& paragraph = text.emplace_back();
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QStringList families = format.fontFamilies().toStringList();
            const double points = format.fontPointSize() > 0 ? format.fontPointSize() : 12;
            paragraph.Runs.push_back(
                {fragment.fragment().text().toStdString(), format.fontWeight() >= QFont::Bold,
                 format.fontItalic(), static_cast<int>(points * 2 + 0.5),
                 families.isEmpty() ? "Arial" : families.front().toStdString()});
        }
    }
    if (!text.empty() && text.back().Runs.empty())
        text.pop_back();
    return text;
}
