#include "report/ReportOutput.h"

#include "export/CsvWriter.h"

#include <QSaveFile>

namespace osago {

bool writeAgentReportCsv(const AgentReport& report, const QString& path, QString* error)
{
    QByteArray bytes = kUtf8Mark + csvLine({QStringLiteral("Дата_выдачи"), QStringLiteral("Номер_серия_полиса"),
                                                 QStringLiteral("Страхователь"), QStringLiteral("Марка_модель"),
                                                 QStringLiteral("Регистрационный_знак"), QStringLiteral("Тип_ТС"),
                                                 QStringLiteral("Сумма_страхования"), QStringLiteral("Примечание"),
                                                 QStringLiteral("Ставка_процентов"), QStringLiteral("Вознаграждение"),
                                                 QStringLiteral("К_перечислению")});
    for (const AgentReport::Policy& policy : report.policies) {
        bytes += csvLine(QStringList{registerDateText(policy.issued), policy.policy, policy.holder, policy.vehicle,
                                     policy.plate, policy.vehicleType, writtenPremiumText(policy.premium),
                                     premiumPlacesMark(policy.premium)}
                         + settlementCells(policy));
    }
    for (const AgentReport::Unreadable& row : report.withoutRate)
        bytes += csvLine({QStringLiteral("Без ставки вознаграждения"), row.policy, row.reason});
    for (const AgentReport::Unreadable& row : report.unreadable)
        bytes += csvLine({QStringLiteral("Не вошла в отчёт"), row.policy, row.reason});
    bytes += csvLine({QStringLiteral("Итого полисов"), QString::number(report.policies.size())});
    bytes += csvLine({QStringLiteral("Сумма премий"), premiumText(report.total)});
    for (const MoneyTotal& money : moneyTotals(report))
        bytes += csvLine({money.name, money.amount});
    bytes += csvLine({kCommissionRoundingRule});

    return writeReportFile(bytes, path, error);
}

bool writeReportFile(const QByteArray& bytes, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Не удалось записать файл «%1»: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace osago
