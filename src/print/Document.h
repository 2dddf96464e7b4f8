#pragma once

#include <QPageSize>
#include <QString>

#include <memory>
#include <vector>

class QPainter;

namespace osago {

// One printable page of paper.
class Document
{
public:
    explicit Document(QString title) : m_title(std::move(title)) {}
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The name the agent knows the document by: "Заявление (стр.1)", "Полис", ...
    const QString& title() const { return m_title; }

    // Paints the whole page. The painter is active on a page of paper whose origin is the paper's top-left corner
    // (a full-page printer, or a PDF page without margins); sizes follow the device's resolution.
    virtual void paint(QPainter& painter) const = 0;

private:
    QString m_title;
};

// The units the documents are measured in.
constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72;

// Every document is laid out for A4 portrait.
inline QPageSize documentPageSize()
{
    return QPageSize(QPageSize::A4);
}

// The four documents of one policy in the order of the preview's tabs.
using DocumentList = std::vector<std::shared_ptr<const Document>>;

enum DocumentIndex { ApplicationPage1, ApplicationPage2, PolicyBlank, BackingSheet, kDocumentCount };

} // namespace osago
