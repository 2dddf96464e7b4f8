#pragma once

#include "print/Document.h"

#include <QImage>

#include <memory>

class QTextDocument;

namespace osago {

// A page laid out from filled HTML. The text is laid out once, for A4 at a fixed reference resolution with the
// font's design metrics, and scaled to the device it is painted on, so the page breaks the same on screen, on
// paper and in a PDF.
class HtmlDocument final : public Document
{
public:
    HtmlDocument(QString title, const QString& html);
    ~HtmlDocument() override;

    void paint(QPainter& painter) const override;

    // Pages the text takes; the documents are designed to take one, and only the first is painted.
    int pageCount() const;

private:
    QImage m_referenceDevice;
    std::unique_ptr<QTextDocument> m_text;
};

} // namespace osago
