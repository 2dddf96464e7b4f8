#include "print/PolicyDocuments.h"

#include "print/BlankDocument.h"
#include "print/HtmlDocument.h"
#include "print/PrintFields.h"

#include <QFile>

#include <array>

namespace osago {

namespace {

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the document template %s is missing", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

std::shared_ptr<const Document> makeApplicationPage(DocumentIndex index, const PrintFields& fields)
{
    const QString path = index == ApplicationPage1 ? QStringLiteral(":/print/templates/application-page1.html")
                                                   : QStringLiteral(":/print/templates/application-page2.html");
    const QString html = fillTemplate(resourceText(path), fields.lookup(), TemplateEscaping::Html);
    return std::make_shared<HtmlDocument>(documentTitle(index), html);
}

std::shared_ptr<const Document> makeBlankPage(DocumentIndex index, const PrintFields& fields,
                                              const PolicyOffset& offset)
{
    const auto kind = index == PolicyBlank ? BlankDocument::Kind::Policy : BlankDocument::Kind::Guide;
    return std::make_shared<BlankDocument>(documentTitle(index), fillPolicyBlank(fields.lookup()), kind, offset);
}

} // namespace

QString documentTitle(DocumentIndex index)
{
    static const std::array<QString, kDocumentCount> titles = {
        QStringLiteral("Заявление (стр.1)"),
        QStringLiteral("Заявление (стр.2)"),
        QStringLiteral("Полис"),
        QStringLiteral("Подложка"),
    };
    return titles.at(std::size_t(index));
}

DocumentList makePolicyDocuments(const PrintRecord& record, const PolicyOffset& offset,
                                 const std::function<void()>& documentDone)
{
    const PrintFields fields(record);
    DocumentList documents;
    for (const DocumentIndex index : {ApplicationPage1, ApplicationPage2, PolicyBlank, BackingSheet}) {
        documents.push_back(index == ApplicationPage1 || index == ApplicationPage2
                                ? makeApplicationPage(index, fields)
                                : makeBlankPage(index, fields, offset));
        if (documentDone)
            documentDone();
    }
    return documents;
}

std::shared_ptr<const Document> makePolicyBlank(const PrintRecord& record, const PolicyOffset& offset)
{
    return makeBlankPage(PolicyBlank, PrintFields(record), offset);
}

} // namespace osago
