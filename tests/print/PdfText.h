#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace osago::test {

// The standard output of one poppler tool (pdftotext, pdffonts); empty when it cannot run or fails.
inline QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page of the PDF as laid out, white space collapsed.
inline QStringList pdfPages(const QString& pdf)
{
    QStringList pages =
        popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& page : pages)
        page = page.simplified();
    return pages;
}

} // namespace osago::test
