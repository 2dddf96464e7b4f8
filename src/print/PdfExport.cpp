#include "print/PdfExport.h"

#include <QDir>
#include <QFileDialog>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>

namespace osago {

namespace {

constexpr int kPdfResolution = 1200;

QString fileFailure(const QString& fileName, const QString& reason)
{
    return QStringLiteral("Не удалось сохранить файл \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason);
}

} // namespace

bool writePdf(const DocumentList& documents, const QString& fileName, QString* error, const QString& title)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = fileFailure(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(documentPageSize(), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(!title.isEmpty()           ? title
                        : documents.size() == 1 ? documents.front()->title()
                                                : QStringLiteral("Полис ОСАГО"));
        writer.setCreator(QStringLiteral("ОСАГО Тальград"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            *error = fileFailure(fileName, QStringLiteral("не удалось начать запись PDF"));
            return false;
        }
        for (std::size_t i = 0; i < documents.size(); ++i) {
            if (i > 0)
                writer.newPage();
            documents[i]->paint(painter);
        }
        painter.end();
    }
    if (!file.commit()) {
        *error = fileFailure(fileName, file.errorString());
        return false;
    }
    return true;
}

QString DialogPdfFileNames::pdfFileName(QWidget* parent, const QString& suggestedName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в PDF"),
                                        QDir(folder).filePath(suggestedName),
                                        QStringLiteral("Документ PDF (*.pdf)"));
}

} // namespace osago
