#pragma once

#include <QPrinterInfo>
#include <QString>

#include <functional>

class QWidget;

namespace osago {

class Document;
class Messages;

// Where the documents go to paper. The program prints through one object of this interface, so tests record what
// would have been printed instead.
class DocumentPrinter
{
public:
    virtual ~DocumentPrinter() = default;
    // Prints one document; on failure `error` receives the agent's message with the reason.
    virtual bool print(const Document& document, QString* error) = 0;
};

// The system's default printer with its own defaults for paper, copies and range.
class SystemPrinter final : public DocumentPrinter
{
public:
    using PrinterLookup = std::function<QPrinterInfo()>;

    // `defaultPrinter` names the printer to use; a null answer means no printer is installed.
    explicit SystemPrinter(PrinterLookup defaultPrinter = &QPrinterInfo::defaultPrinter);

    bool print(const Document& document, QString* error) override;

private:
    PrinterLookup m_defaultPrinter;
};

// Prints `document`; a failure is shown to the agent. True when it printed.
bool printOrReport(DocumentPrinter& printer, Messages& messages, QWidget* parent, const Document& document);

} // namespace osago
