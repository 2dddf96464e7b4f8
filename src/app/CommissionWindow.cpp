#include "app/CommissionWindow.h"

#include "app/ProgramRegister.h"
#include "editor/EditorFields.h"
#include "report/Commission.h"
#include "storage/PolicyDatabase.h"
#include "widgets/MaskedEdit.h"
#include "widgets/Messages.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace osago {

namespace {

const QString kCommissionTitle = QStringLiteral("Вознаграждение агента");
constexpr int kRateTyping = 6;

} // namespace

CommissionWindow::CommissionWindow(Messages& messages, ProgramRegister& programRegister)
    : m_messages(messages)
    , m_register(programRegister)
{
    setObjectName(QStringLiteral("FormCommission"));
    setWindowTitle(kCommissionTitle);
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);

    m_from = newMaskedEdit(QStringLiteral("EditRateFrom"), kDateMask, messages);
    m_rate = newEdit(QStringLiteral("EditRate"), kRateTyping);
    m_rate->setToolTip(QStringLiteral("Процент от премии, от 0 до 100, до двух знаков после запятой: 12,5"));
    auto* add = new QPushButton(QStringLiteral("Добавить"), this);
    add->setObjectName(QStringLiteral("ButtonAddRate"));
    connect(add, &QPushButton::clicked, this, &CommissionWindow::ButtonAddRateClick);

    m_rates = new QTreeWidget(this);
    m_rates->setObjectName(QStringLiteral("ListRates"));
    m_rates->setHeaderLabels({QStringLiteral("Действует с"), QStringLiteral("Ставка, %")});
    m_rates->setRootIsDecorated(false);
    m_rates->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Действует с"), m_from);
    fields->addRow(QStringLiteral("Ставка, % от премии"), m_rate);
    fields->addRow(QString(), add);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_rates);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void CommissionWindow::ask(QDate today)
{
    m_from->setMaskedText(registerDateText(today));
    m_rate->clear();
    show();
    raise();
    activateWindow();
    m_rate->setFocus();
    listRates();
}

void CommissionWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        ButtonAddRateClick();
    else
        QWidget::keyPressEvent(event);
}

void CommissionWindow::listRates()
{
    m_rates->clear();
    const StorageResult<CommissionRates> rates = m_register.database().readCommissionRates();
    if (!rates.ok) {
        m_messages.show(this, kCommissionTitle, rates.error, Messages::Icon::Critical);
        return;
    }
    for (auto rate = rates.value.rbegin(); rate != rates.value.rend(); ++rate)
        m_rates->addTopLevelItem(new QTreeWidgetItem({registerDateText(rate->from), commissionRateText(rate->hundredths)}));
}

void CommissionWindow::warn(const QString& text, QWidget* focus)
{
    m_messages.show(this, kCommissionTitle, text, Messages::Icon::Warning);
    focus->setFocus();
}

void CommissionWindow::ButtonAddRateClick()
{
    const std::optional<QDate> from = registerDate(m_from->maskedText());
    if (!from)
        return warn(QStringLiteral("Введите дату, с которой действует ставка, в виде ДД.ММ.ГГГГ."), m_from);
    const std::optional<int> rate = parseCommissionRate(m_rate->text());
    if (!rate) {
        return warn(QStringLiteral("Ставка — процент от премии от 0 до 100, не больше двух знаков после запятой, "
                                   "например 12,5."),
                    m_rate);
    }
    const StorageStatus added = m_register.database().addCommissionRate({*from, *rate});
    if (!added.ok) {
        m_messages.show(this, kCommissionTitle, added.error, Messages::Icon::Critical);
        return;
    }
    m_rate->clear();
    listRates();
}

} // namespace osago
