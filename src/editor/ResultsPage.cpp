#include "editor/ResultsPage.h"

#include "widgets/Controls.h"
#include "editor/EditorFields.h"
#include "editor/FieldPlacement.h"
#include "widgets/Messages.h"
#include "editor/PremiumForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace osago {

namespace {

const QString kFormula = QStringLiteral("Тб * Кт * Квс * Ко * Км * Кс * Кбм * Кн");
const QString kUnknownFactor = QStringLiteral("?");
constexpr int kFactorTypingLimit = 4;
constexpr int kPremiumTypingLimit = 8;
constexpr int kFieldWidth = 145;

struct FactorField
{
    const char* name;
    const char* caption;
    int left;
    int top;
    const char* hint;
};

// In tab order: the first column top down, then the second.
constexpr FactorField kFactorFields[] = {
    {"LabeledEditTB", "ТБ:", 8, 56, "Базовый страховой тариф"},
    {"LabeledEditKT", "КТ:", 8, 96, "Территориальный коэффициент"},
    {"LabeledEditKBM", "КБМ:", 8, 136, "Коэффициент по страховым выплатам"},
    {"LabeledEditKVS", "КВС:", 8, 176, "Коэффициент возраста и стажа"},
    {"LabeledEditKO", "КО:", 8, 216, "Коэффициент допущенных к управлению"},
    {"LabeledEditKM", "КМ:", 168, 56, "Коэффициент мощности двигателя"},
    {"LabeledEditKS", "КС:", 168, 96, "Коэффициент периода использования ТС"},
    {"LabeledEditKP", "КП:", 168, 136, "Коэффициент сроков страхования"},
    {"LabeledEditKN", "КН:", 168, 176, "Коэффициент страхового тарифа"},
};

// The territory factor is the one the agent may type, for owners outside the home region.
const QString kTypedFactor = QStringLiteral("LabeledEditKT");

} // namespace

ResultsPage::ResultsPage(QWidget& editor, Messages& messages, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TabSheetRez"));
    buildButtons();
    buildFactorFields();
    buildScratchControls();
}

void ResultsPage::buildButtons()
{
    auto* calculate = new QPushButton(QStringLiteral("Расчитать"), this);
    calculate->setObjectName(QStringLiteral("ButtonSumma"));
    calculate->setToolTip(QStringLiteral("Рассчитать страховую премию"));
    calculate->setGeometry(344, 8, 185, 113);
    connect(calculate, &QPushButton::clicked, this, &ResultsPage::ButtonSummaClick);

    auto* print = new QPushButton(QStringLiteral("Печать заявления..."), this);
    print->setObjectName(QStringLiteral("ButtonZPr"));
    print->setGeometry(344, 128, 185, 113);
    connect(print, &QPushButton::clicked, this, &ResultsPage::ButtonZPrClick);
}

void ResultsPage::buildFactorFields()
{
    m_formula = addCaptionedEdit(this, QStringLiteral("LabeledEditFormul"), QStringLiteral("Формула:"), 8, 16, 305, 0);
    m_formula->setText(kFormula);

    for (const FactorField& factor : kFactorFields) {
        QLineEdit* field = addCaptionedEdit(this, QString::fromUtf8(factor.name), QString::fromUtf8(factor.caption),
                                            factor.left, factor.top, kFieldWidth, kFactorTypingLimit);
        field->setText(kUnknownFactor);
        field->setReadOnly(field->objectName() != kTypedFactor);
        field->setMouseTracking(true);
        field->installEventFilter(this);
    }

    m_premium = newEdit(QStringLiteral("LabeledEditSuma"), kPremiumTypingLimit);
    placeField(m_premium, this, 168, 216, kFieldWidth);
    m_premium->setReadOnly(true);
    QLabel* caption = addCaption(m_premium, QStringLiteral("Сумма:"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->adjustSize();
}

void ResultsPage::buildScratchControls()
{
    QLineEdit* worstClass = newEdit(QStringLiteral("Edit1"), 0);
    worstClass->setParent(this);
    worstClass->hide();
    for (const char* name : {"CheckBox2", "CheckBox22", "CheckBoxGrubOK"}) {
        auto* flag = new QCheckBox(this);
        flag->setObjectName(QString::fromUtf8(name));
        flag->hide();
    }
}

bool ResultsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        for (const FactorField& factor : kFactorFields) {
            if (watched->objectName() == QLatin1String(factor.name))
                static_cast<QWidget*>(watched)->setToolTip(QString::fromUtf8(factor.hint));
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ResultsPage::ButtonSummaClick()
{
    const std::optional<QString> error = calculatePremium(m_editor);
    if (error)
        m_messages.show(&m_editor, kProgramTitle, *error, Messages::Icon::Critical);
    return !error;
}

// A calculation stopped by a conversion stops the printing with it.
void ResultsPage::ButtonZPrClick()
{
    if (ButtonSummaClick())
        emit printRequested();
}

void ResultsPage::reset()
{
    m_formula->setText(kFormula);
    for (const FactorField& factor : kFactorFields)
        setControlText(*this, QString::fromUtf8(factor.name), kUnknownFactor);
    m_premium->clear();
}

} // namespace osago
