#include "export/RegisterExport.h"

#include "storage/PolicyColumns.h"
#include "storage/RegisterRowStream.h"
#include "export/TableFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace osago {

namespace {

ExportOutcome failed(const QString& target, const QString& reason)
{
    ExportOutcome outcome;
    outcome.kind = ExportOutcome::Kind::Failed;
    outcome.error = QStringLiteral("Не удалось записать файл «%1»: %2").arg(QFileInfo(target).fileName(), reason);
    return outcome;
}

// Copies the rows into `writer`, which has `path` open.
ExportOutcome writeRows(RegisterRowStream& rows, const ExportChoice& choice, TableFileWriter& writer,
                        const QString& target, const ExportProgress& progress)
{
    static const int issueColumn = policyColumnIndex(u"Дата_выдачи");
    static const int agentColumn = policyColumnIndex(u"ФИО_агента");
    const std::optional<IssuePeriod>& period = choice.period;
    const QByteArray agent = choice.agent.value_or(QString()).toUtf8();
    ExportOutcome outcome;
    std::size_t done = 0;
    Utf8Rows block;
    while (true) {
        const StorageStatus read = rows.next(block);
        if (!read.ok)
            return failed(target, read.error);
        if (block.empty())
            break;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const Utf8Row row = block.row(i);
            if (choice.agent && (row.isNull(agentColumn) || row[agentColumn] != agent))
                continue;
            if (period) {
                const std::optional<QDate> issued = registerDate(QString::fromUtf8(row[issueColumn]));
                if (!issued) {
                    ++outcome.undatedRows;
                    continue;
                }
                if (!period->contains(*issued))
                    continue;
            }
            if (!writer.writeRow(row))
                return failed(target, writer.error());
            ++outcome.rowsWritten;
        }
        done += block.size();
        if (progress && !progress(done, rows.rowCount())) {
            outcome.kind = ExportOutcome::Kind::Cancelled;
            return outcome;
        }
    }
    return outcome;
}

} // namespace

ExportOutcome writeTableFile(const QString& target, const QStringList& header,
                             const std::function<ExportOutcome(TableFileWriter& writer)>& write)
{
    const std::optional<TableFormat> format = tableFormatOf(target);
    if (!format)
        return failed(target, QStringLiteral("имя файла должно оканчиваться на .csv или .xlsx"));
    const QFileInfo targetInfo(target);
    QTemporaryFile partial(targetInfo.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX.part").arg(targetInfo.fileName())));
    if (!partial.open())
        return failed(target, partial.errorString());
    partial.close();

    ExportOutcome outcome;
    {
        const std::unique_ptr<TableFileWriter> writer = makeTableFileWriter(*format);
        if (!writer->open(partial.fileName(), header))
            return failed(target, writer->error());
        outcome = write(*writer);
        if (outcome.kind == ExportOutcome::Kind::Written && !writer->finish())
            return failed(target, writer->error());
    }
    if (outcome.kind != ExportOutcome::Kind::Written)
        return outcome;
    partial.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // rename() replaces an existing file in one step, so `target` is never missing or half written.
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return failed(target, QString::fromLocal8Bit(std::strerror(errno)));
    partial.setAutoRemove(false);
    return outcome;
}

ExportOutcome exportRegister(RegisterRowStream& rows, const ExportChoice& choice, const QString& target,
                             const ExportProgress& progress)
{
    const StorageStatus started = rows.start();
    if (!started.ok)
        return failed(target, started.error);
    return writeTableFile(target, policyColumnNames(), [&](TableFileWriter& writer) {
        return writeRows(rows, choice, writer, target, progress);
    });
}

QString exportSummary(const ExportOutcome& outcome)
{
    QString text = QStringLiteral("Записано строк: %1.").arg(outcome.rowsWritten);
    if (outcome.undatedRows > 0) {
        text += QStringLiteral(" Не вошли в период из-за нечитаемой даты выдачи: %1.").arg(outcome.undatedRows);
    }
    return text;
}

} // namespace osago
