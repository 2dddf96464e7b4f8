#include "renewals/RenewalsOutput.h"

#include "export/RegisterExport.h"
#include "export/TableFileWriter.h"
#include "renewals/RenewalTerm.h"
#include "report/ReportFlow.h"
#include "report/ReportPages.h"
#include "storage/Utf8Rows.h"

namespace osago {

QStringList renewalsHeader()
{
    return {QStringLiteral("Номер_серия_полиса"), QStringLiteral("Страхователь"),
            QStringLiteral("Страхователь_телефон"), QStringLiteral("Марка_модель"),
            QStringLiteral("Регистрационный_знак"), QStringLiteral("Страх_по"),
            QStringLiteral("Осталось_дней"), QStringLiteral("Сумма_страхования")};
}

QStringList renewalTexts(const RenewalDue& renewal, QDate today)
{
    return {renewal.policy,
            renewal.holder,
            renewal.telephone,
            renewal.vehicle,
            renewal.plate,
            registerDateText(renewal.ends),
            QString::number(daysLeft(renewal.ends, today)),
            renewal.premium};
}

QString renewalsName(const IssuePeriod& period)
{
    return QStringLiteral("Окончание договоров %1-%2").arg(registerDateText(period.from), registerDateText(period.to));
}

bool writeRenewalsTable(const std::vector<RenewalDue>& renewals, QDate today, const QString& path, QString* error)
{
    const ExportOutcome outcome = writeTableFile(path, renewalsHeader(), [&](TableFileWriter& writer) {
        ExportOutcome written;
        Utf8Rows row;
        for (const RenewalDue& renewal : renewals) {
            row.clear();
            row.appendRow(renewalTexts(renewal, today));
            if (!writer.writeRow(row.row(0))) {
                written.kind = ExportOutcome::Kind::Failed;
                written.error = QStringLiteral("Не удалось записать файл «%1»: %2").arg(path, writer.error());
                return written;
            }
            ++written.rowsWritten;
        }
        return written;
    });
    if (outcome.kind != ExportOutcome::Kind::Written)
        *error = outcome.error;
    return outcome.kind == ExportOutcome::Kind::Written;
}

DocumentList renewalsPages(const std::vector<RenewalDue>& renewals, const IssuePeriod& period, QDate today)
{
    using Style = ReportFlow::Style;
    ReportFlow flow;
    flow.title = QStringLiteral("Окончание договоров");
    flow.addParagraph(Style::Title, flow.title);
    flow.addParagraph(Style::Text, QStringLiteral("Период: с %1 по %2")
                                       .arg(registerDateText(period.from), registerDateText(period.to)));
    std::vector<QStringList> rows;
    rows.reserve(renewals.size());
    for (const RenewalDue& renewal : renewals)
        rows.push_back(renewalTexts(renewal, today));
    flow.addTable({{QStringLiteral("Полис"), 830},
                   {QStringLiteral("Страхователь"), 1020},
                   {QStringLiteral("Телефон"), 600},
                   {QStringLiteral("Марка"), 740},
                   {QStringLiteral("Рег. знак"), 510},
                   {QStringLiteral("Окончание"), 520},
                   {QStringLiteral("Дней"), 330, Qt::AlignRight},
                   {QStringLiteral("Премия"), 600, Qt::AlignRight}},
                  std::move(rows));
    flow.addParagraph(Style::Bold, QStringLiteral("Договоров: %1").arg(renewals.size()));
    return reportPages(flow);
}

} // namespace osago
