#include "report/ReportPages.h"

#include "report/ReportFlow.h"
#include "storage/IssuePeriod.h"

namespace osago {

QString agentReportName(const IssuePeriod& period)
{
    return QStringLiteral("Отчёт агента %1-%2").arg(registerDateText(period.from), registerDateText(period.to));
}

DocumentList agentReportPages(const AgentReport& report)
{
    using Style = ReportFlow::Style;
    ReportFlow flow;
    flow.title = QStringLiteral("Отчёт агента");
    flow.addParagraph(Style::Title, QStringLiteral("Отчёт агента"));
    flow.addParagraph(Style::Text, QStringLiteral("Агент: %1").arg(report.agent));
    flow.addParagraph(Style::Text, QStringLiteral("Страховщик: %1").arg(report.insurer));
    flow.addParagraph(Style::Text, QStringLiteral("Период: с %1 по %2")
                                       .arg(registerDateText(report.period.from), registerDateText(report.period.to)));
    std::vector<QStringList> rows;
    rows.reserve(report.policies.size());
    for (const AgentReport::Policy& policy : report.policies) {
        const QString mark = premiumPlacesMark(policy.premium);
        const QString premium = writtenPremiumText(policy.premium);
        rows.push_back({registerDateText(policy.issued), policy.policy, policy.holder, policy.vehicle, policy.plate,
                        mark.isEmpty() ? premium : premium + u'\n' + mark});
    }
    flow.addTable({{QStringLiteral("Дата выдачи"), 560},
                   {QStringLiteral("Серия и номер полиса"), 900},
                   {QStringLiteral("Страхователь"), 1290},
                   {QStringLiteral("Марка"), 1000},
                   {QStringLiteral("Рег. знак"), 600},
                   {QStringLiteral("Премия"), 800, Qt::AlignRight}},
                  std::move(rows));

    flow.addParagraph(Style::Heading, QStringLiteral("По типам ТС"), true);
    rows.clear();
    for (const AgentReport::TypeTotal& type : report.byVehicleType)
        rows.push_back({type.vehicleType, QString::number(type.count), premiumText(type.premiums)});
    flow.addTable({{QStringLiteral("Тип ТС"), 2000},
                   {QStringLiteral("Полисов"), 800, Qt::AlignRight},
                   {QStringLiteral("Премии"), 1000, Qt::AlignRight}},
                  std::move(rows));
    flow.addParagraph(Style::Bold, QStringLiteral("Итого полисов: %1").arg(report.policies.size()), true);
    flow.addParagraph(Style::Bold, QStringLiteral("Сумма премий: %1 (%2 руб.)")
                                       .arg(premiumText(report.total), groupedMoneyText(report.total)));

    if (!report.unreadable.empty()) {
        flow.addParagraph(Style::Heading, QStringLiteral("Не вошли в отчёт, строк: %1").arg(report.unreadable.size()),
                          true);
        rows.clear();
        for (const AgentReport::Unreadable& row : report.unreadable)
            rows.push_back({row.policy, row.reason});
        flow.addTable({{QStringLiteral("Полис"), 1200}, {QStringLiteral("Причина"), kReportBodyWidth - 1200}},
                      std::move(rows));
    }
    return reportPages(flow);
}

} // namespace osago
