// Timings of the printed documents, with the record of six drivers the print tests use:
//   bench_print [RUNS]                    "Печать..." until the preview is enabled, and the PDF of all four (ms)
//   bench_print pictures DIR              the preview window as DIR/preview.png and the PDF of the four as
//                                         DIR/documents.pdf (for the README's pictures)
// Runs headless (QT_QPA_PLATFORM=offscreen); nothing goes to a printer.

#include "print/PrintPreviewWindow.h"
#include "print/PdfExport.h"
#include "print/PolicyDocuments.h"
#include "PrintSamples.h"
#include "print/PrintService.h"
#include "RecordingPrinter.h"
#include "ScriptedMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace osago;

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Service
{
    QWidget mainWindow;
    test::ScriptedMessages messages;
    test::RecordingPrinter printer;
    PrintService print{messages, mainWindow, printer, std::make_unique<test::ScriptedFileNames>()};
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& runs)
{
    std::printf("%-40s first %8.1f ms   median of the rest %8.1f ms   max %8.1f ms\n", what, runs.front(),
                median({runs.begin() + 1, runs.end()}), *std::max_element(runs.begin() + 1, runs.end()));
}

int timings(int runs)
{
    Service service;
    service.mainWindow.show();
    const PrintRecord record = test::printRecord(test::sixDriverRow());

    std::vector<double> previews;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        service.print.preview(record);
        if (!service.print.previewWindow()->isEnabled())
            return 1;
        previews.push_back(milliseconds(timer));
        service.print.previewWindow()->close();
    }
    report("preview request to preview enabled", previews);

    QTemporaryDir dir;
    std::vector<double> exports;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!writePdf(makePolicyDocuments(record, {}), dir.filePath(QStringLiteral("all.pdf")), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        exports.push_back(milliseconds(timer));
    }
    report("four documents made and written as PDF", exports);
    std::printf("PDF size %lld bytes\n", QFileInfo(dir.filePath(QStringLiteral("all.pdf"))).size());
    return 0;
}

int pictures(const QString& folder)
{
    Service service;
    const PrintRecord record = test::printRecord(test::sixDriverRow());
    service.print.preview(record);
    PrintPreviewWindow& preview = *service.print.previewWindow();
    // The offscreen screen is small; show the window at a common laptop size instead of maximised.
    preview.showNormal();
    preview.resize(1200, 820);
    QApplication::processEvents();
    QString error;
    if (!preview.grab().save(QDir(folder).filePath(QStringLiteral("preview.png")))
        || !writePdf(makePolicyDocuments(record, {}), QDir(folder).filePath(QStringLiteral("documents.pdf")),
                     &error)) {
        std::fprintf(stderr, "could not write the pictures: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.value(0) == QLatin1String("pictures") && arguments.size() == 2)
        return pictures(arguments[1]);
    const int runs = arguments.isEmpty() ? 20 : arguments[0].toInt();
    if (runs < 2) {
        std::fprintf(stderr, "usage: bench_print [RUNS >= 2] | bench_print pictures DIR\n");
        return 2;
    }
    return timings(runs);
}
