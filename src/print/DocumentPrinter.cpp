#include "print/DocumentPrinter.h"

#include "print/Document.h"
#include "widgets/Messages.h"

#include <QPainter>
#include <QPrinter>

namespace osago {

SystemPrinter::SystemPrinter(PrinterLookup defaultPrinter) : m_defaultPrinter(std::move(defaultPrinter)) {}

bool SystemPrinter::print(const Document& document, QString* error)
{
    const QPrinterInfo info = m_defaultPrinter();
    if (info.isNull()) {
        *error = QStringLiteral("Принтер не установлен: в системе нет принтера по умолчанию. "
                                "Документ \"%1\" не напечатан.")
                     .arg(document.title());
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(document.title());
    // Positions on the page count from the paper's corner, as on the pre-printed blank.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("Не удалось начать печать документа \"%1\" на принтере \"%2\": "
                                "принтер недоступен или не принял задание.")
                     .arg(document.title(), info.printerName());
        return false;
    }
    document.paint(painter);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("Принтер \"%1\" сообщил об ошибке при печати документа \"%2\".")
                     .arg(info.printerName(), document.title());
        return false;
    }
    return true;
}

bool printOrReport(DocumentPrinter& printer, Messages& messages, QWidget* parent, const Document& document)
{
    QString error;
    if (printer.print(document, &error))
        return true;
    messages.show(parent, kProgramTitle, error, Messages::Icon::Critical);
    return false;
}

} // namespace osago
