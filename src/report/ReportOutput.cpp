#include "ReportOutput.h"

#include "CsvWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QSaveFile>
#include <QTextDocument>

namespace osago {

namespace {

// Layout in points of an A4 page, scaled to the device painted on.
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kMargin = 40;

QString cell(const QString& text)
{
    return QStringLiteral("<td>%1</td>").arg(text.toHtmlEscaped());
}

class ReportPage final : public Document
{
public:
    ReportPage(std::shared_ptr<QTextDocument> text, int page, int pages)
        : Document(QStringLiteral("Отчёт агента (стр.%1 из %2)").arg(page + 1).arg(pages))
        , m_text(std::move(text))
        , m_page(page)
    {
    }

    void paint(QPainter& painter) const override
    {
        painter.save();
        const double scale = painter.device()->width() / kPageWidth;
        painter.scale(scale, scale);
        const double height = kPageHeight - 2 * kMargin;
        painter.translate(kMargin, kMargin - m_page * height);
        m_text->drawContents(&painter, QRectF(0, m_page * height, kPageWidth - 2 * kMargin, height));
        painter.restore();
    }

private:
    std::shared_ptr<QTextDocument> m_text;
    int m_page;
};

} // namespace

QString agentReportHtml(const AgentReport& report)
{
    QString html = QStringLiteral("<html><body style=\"font-size:8pt\"><h3>Отчёт агента</h3>");
    html += QStringLiteral("<p>Агент: %1<br>Страховщик: %2<br>Период: с %3 по %4</p>")
                .arg(report.agent.toHtmlEscaped(), report.insurer.toHtmlEscaped(),
                     registerDateText(report.period.from), registerDateText(report.period.to));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr><th>Дата "
                           "выдачи</th><th>Серия и номер полиса</th><th>Страхователь</th><th>Марка</th>"
                           "<th>Рег. знак</th><th>Премия</th></tr>");
    for (const AgentReport::Policy& policy : report.policies) {
        html += QStringLiteral("<tr>") + cell(registerDateText(policy.issued)) + cell(policy.policy) +
                cell(policy.holder) + cell(policy.vehicle) + cell(policy.plate) + cell(premiumText(policy.premium)) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><h4>По типам ТС</h4><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">"
                           "<tr><th>Тип ТС</th><th>Полисов</th><th>Премии</th></tr>");
    for (const AgentReport::TypeTotal& type : report.byVehicleType) {
        html += QStringLiteral("<tr>") + cell(type.vehicleType) + cell(QString::number(type.count)) +
                cell(premiumText(type.premiums)) + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p><b>Итого полисов: %1<br>Сумма премий: %2 (%3 руб.)</b></p>")
                .arg(report.policies.size())
                .arg(premiumText(report.total), groupedMoneyText(report.total));
    if (!report.unreadable.empty()) {
        html += QStringLiteral("<h4>Не вошли в отчёт, строк: %1</h4><table border=\"1\" cellspacing=\"0\" "
                               "cellpadding=\"2\"><tr><th>Полис</th><th>Причина</th></tr>")
                    .arg(report.unreadable.size());
        for (const AgentReport::Unreadable& row : report.unreadable)
            html += QStringLiteral("<tr>") + cell(row.policy) + cell(row.reason) + QStringLiteral("</tr>");
        html += QStringLiteral("</table>");
    }
    return html + QStringLiteral("</body></html>");
}

DocumentList agentReportPages(const AgentReport& report)
{
    auto text = std::make_shared<QTextDocument>();
    text->setDocumentMargin(0);
    text->setHtml(agentReportHtml(report));
    text->setPageSize(QSizeF(kPageWidth - 2 * kMargin, kPageHeight - 2 * kMargin));
    const int pages = text->pageCount();
    DocumentList documents;
    for (int page = 0; page < pages; ++page)
        documents.push_back(std::make_shared<ReportPage>(text, page, pages));
    return documents;
}

bool writeAgentReportCsv(const AgentReport& report, const QString& path, QString* error)
{
    QByteArray bytes = "\xEF\xBB\xBF" + csvLine({QStringLiteral("Дата_выдачи"), QStringLiteral("Номер_серия_полиса"),
                                                 QStringLiteral("Страхователь"), QStringLiteral("Марка_модель"),
                                                 QStringLiteral("Регистрационный_знак"), QStringLiteral("Тип_ТС"),
                                                 QStringLiteral("Сумма_страхования")});
    for (const AgentReport::Policy& policy : report.policies) {
        bytes += csvLine({registerDateText(policy.issued), policy.policy, policy.holder, policy.vehicle, policy.plate,
                          policy.vehicleType, premiumText(policy.premium)});
    }
    for (const AgentReport::Unreadable& row : report.unreadable)
        bytes += csvLine({QStringLiteral("Не вошла в отчёт"), row.policy, row.reason});
    bytes += csvLine({QStringLiteral("Итого полисов"), QString::number(report.policies.size())});
    bytes += csvLine({QStringLiteral("Сумма премий"), premiumText(report.total)});

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Не удалось записать файл «%1»: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace osago
