#include "report/ReportPages.h"

#include "report/Commission.h"
#include "report/ReportFlow.h"
#include "storage/IssuePeriod.h"

namespace osago {

namespace {

// A heading with the count (`heading` takes it as %1) and the table of rows left out of a sum; nothing for none.
void addRowsApart(ReportFlow& flow, const QString& heading, const std::vector<AgentReport::Unreadable>& apart)
{
    if (apart.empty())
        return;
    flow.addParagraph(ReportFlow::Style::Heading, heading.arg(apart.size()), true);
    std::vector<QStringList> rows;
    rows.reserve(apart.size());
    for (const AgentReport::Unreadable& row : apart)
        rows.push_back({row.policy, row.reason});
    flow.addTable({{QStringLiteral("Полис"), 1200}, {QStringLiteral("Причина"), kReportBodyWidth - 1200}},
                  std::move(rows));
}

} // namespace

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
        rows.back() << settlementCells(policy);
    }
    flow.addTable({{QStringLiteral("Дата выдачи"), 520},
                   {QStringLiteral("Серия и номер полиса"), 700},
                   {QStringLiteral("Страхователь"), 780},
                   {QStringLiteral("Марка"), 580},
                   {QStringLiteral("Рег. знак"), 480},
                   {QStringLiteral("Премия"), 620, Qt::AlignRight},
                   {QStringLiteral("Ставка, %"), 350, Qt::AlignRight},
                   {QStringLiteral("Вознагр."), 540, Qt::AlignRight},
                   {QStringLiteral("К перечисл."), 580, Qt::AlignRight}},
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
                                       .arg(premiumText(report.total), groupedMoneyText(report.total)), true);
    for (const MoneyTotal& money : moneyTotals(report))
        flow.addParagraph(Style::Bold, QStringLiteral("%1: %2 руб.").arg(money.name, money.amount), true);
    flow.addParagraph(Style::Text, kCommissionRoundingRule);

    addRowsApart(flow, QStringLiteral("Без ставки вознаграждения, полисов: %1"), report.withoutRate);
    addRowsApart(flow, QStringLiteral("Не вошли в отчёт, строк: %1"), report.unreadable);
    return reportPages(flow);
}

} // namespace osago
