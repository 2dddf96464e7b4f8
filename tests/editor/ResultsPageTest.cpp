#include "widgets/Controls.h"
#include "PageTestSupport.h"
#include "editor/ResultsPage.h"
#include "ScriptedMessages.h"

#include <QCheckBox>
#include <QPushButton>

#include <memory>

using namespace osago;
using osago::test::ScriptedMessages;

namespace {

const QString kFormula = QStringLiteral("Тб * Кт * Квс * Ко * Км * Кс * Кбм * Кн");

struct ResultsEditor
{
    QWidget editor;
    ResultsPage* page;

    explicit ResultsEditor(Messages& messages)
        : page(new ResultsPage(editor, messages, &editor))
    {
        editor.resize(650, 433);
        editor.show();
    }

    QLineEdit* field(const QString& name) const { return control<QLineEdit>(editor, name); }
};

} // namespace

class ResultsPageTest : public QObject
{
    Q_OBJECT

    ScriptedMessages m_seam;
    std::unique_ptr<ResultsEditor> m_window;

    ResultsEditor& window() { return *m_window; }

private slots:
    void init()
    {
        m_seam = ScriptedMessages();
        m_window = std::make_unique<ResultsEditor>(m_seam);
        QVERIFY(QTest::qWaitForWindowExposed(&m_window->editor));
    }

    void cleanup()
    {
        m_window.reset();
        OSAGO_VERIFY_MESSAGES(m_seam);
    }

    void pageCarriesItsName() { QCOMPARE(window().page->objectName(), QStringLiteral("TabSheetRez")); }

    void fields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("typingLimit");
        const auto row = [](const char* name, const char* caption, QPoint position, const QString& initial,
                            bool readOnly, int limit) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption) << position << initial
                                << readOnly << limit;
        };
        const QString unknown = QStringLiteral("?");
        row("LabeledEditFormul", "Формула:", {8, 16}, kFormula, false, 0);
        row("LabeledEditTB", "ТБ:", {8, 56}, unknown, true, 4);
        row("LabeledEditKT", "КТ:", {8, 96}, unknown, false, 4);
        row("LabeledEditKBM", "КБМ:", {8, 136}, unknown, true, 4);
        row("LabeledEditKVS", "КВС:", {8, 176}, unknown, true, 4);
        row("LabeledEditKO", "КО:", {8, 216}, unknown, true, 4);
        row("LabeledEditKM", "КМ:", {168, 56}, unknown, true, 4);
        row("LabeledEditKS", "КС:", {168, 96}, unknown, true, 4);
        row("LabeledEditKP", "КП:", {168, 136}, unknown, true, 4);
        row("LabeledEditKN", "КН:", {168, 176}, unknown, true, 4);
        row("LabeledEditSuma", "Сумма:", {168, 216}, QString(), true, 8);
    }
    void fields()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, position);
        QFETCH(QString, initial);
        QFETCH(bool, readOnly);
        QFETCH(int, typingLimit);

        QLineEdit* field = window().field(name);
        QCOMPARE(field->text(), initial);
        QCOMPARE(field->pos(), position);
        QCOMPARE(field->isReadOnly(), readOnly);
        QVERIFY(field->isVisibleTo(window().page));
        QLabel* label = osago::test::captionOf(window().editor, field);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->font().bold(), name == QStringLiteral("LabeledEditSuma"));

        if (readOnly) {
            osago::test::retype(field, QStringLiteral("12"));
            QCOMPARE(field->text(), initial);
        } else if (typingLimit > 0) {
            osago::test::retype(field, QStringLiteral("1234567"));
            QCOMPARE(field->text(), QStringLiteral("1234567").left(typingLimit));
        }
        // The calculation's texts are never cut to the typing limit.
        const QString premium = QStringLiteral("1497,7462");
        setControlText(field, premium);
        QCOMPARE(field->text(), premium);
    }

    void buttons()
    {
        auto* calculate = control<QPushButton>(window().editor, QStringLiteral("ButtonSumma"));
        QCOMPARE(calculate->text(), QStringLiteral("Расчитать"));
        QCOMPARE(calculate->toolTip(), QStringLiteral("Рассчитать страховую премию"));
        QCOMPARE(calculate->geometry(), QRect(344, 8, 185, 113));
        auto* print = control<QPushButton>(window().editor, QStringLiteral("ButtonZPr"));
        QCOMPARE(print->text(), QStringLiteral("Печать заявления..."));
        QCOMPARE(print->geometry(), QRect(344, 128, 185, 113));
    }

    void tabOrderRunsFromTheButtonsDownTheColumns()
    {
        const QStringList expected = {
            QStringLiteral("ButtonSumma"),   QStringLiteral("ButtonZPr"),      QStringLiteral("LabeledEditFormul"),
            QStringLiteral("LabeledEditTB"), QStringLiteral("LabeledEditKT"),  QStringLiteral("LabeledEditKBM"),
            QStringLiteral("LabeledEditKVS"), QStringLiteral("LabeledEditKO"), QStringLiteral("LabeledEditKM"),
            QStringLiteral("LabeledEditKS"), QStringLiteral("LabeledEditKP"),  QStringLiteral("LabeledEditKN"),
            QStringLiteral("LabeledEditSuma"),
        };
        QStringList order;
        QWidget* widget = control<QWidget>(window().editor, expected.first());
        do {
            if (expected.contains(widget->objectName()) && !order.contains(widget->objectName()))
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (order.size() < expected.size() && widget != control<QWidget>(window().editor, expected.first()));
        QCOMPARE(order, expected);
    }

    void scratchControlsAreHidden_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Edit1") << QStringLiteral("Edit1");
        QTest::newRow("CheckBox2") << QStringLiteral("CheckBox2");
        QTest::newRow("CheckBox22") << QStringLiteral("CheckBox22");
        QTest::newRow("CheckBoxGrubOK") << QStringLiteral("CheckBoxGrubOK");
    }
    void scratchControlsAreHidden()
    {
        QFETCH(QString, name);
        auto* scratch = control<QWidget>(*window().page, name);
        QVERIFY(!scratch->isVisibleTo(window().page));
        QVERIFY(!osago::test::captionOf(window().editor, scratch));
        if (auto* box = qobject_cast<QCheckBox*>(scratch))
            QVERIFY(!box->isChecked());
        else
            QCOMPARE(controlText(scratch), QString());
    }

    void mouseMoveShowsHint_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        const auto row = [](const char* name, const char* hint) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(hint);
        };
        row("LabeledEditTB", "Базовый страховой тариф");
        row("LabeledEditKT", "Территориальный коэффициент");
        row("LabeledEditKBM", "Коэффициент по страховым выплатам");
        row("LabeledEditKVS", "Коэффициент возраста и стажа");
        row("LabeledEditKO", "Коэффициент допущенных к управлению");
        row("LabeledEditKM", "Коэффициент мощности двигателя");
        row("LabeledEditKS", "Коэффициент периода использования ТС");
        row("LabeledEditKP", "Коэффициент сроков страхования");
        row("LabeledEditKN", "Коэффициент страхового тарифа");
        row("LabeledEditSuma", "");
        row("LabeledEditFormul", "");
    }
    void mouseMoveShowsHint()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QLineEdit* field = window().field(name);
        QCOMPARE(field->toolTip(), QString());
        // The hint must follow a mouse resting on the field, no button pressed.
        QVERIFY(field->hasMouseTracking());
        osago::test::hover(field);
        QTRY_COMPARE(field->toolTip(), hint);
    }

    void resetRestoresFormulaFactorsAndPremium()
    {
        const auto fields = window().page->findChildren<QLineEdit*>();
        for (QLineEdit* field : fields)
            setControlText(field, QStringLiteral("0,5"));
        window().page->reset();

        QCOMPARE(window().field(QStringLiteral("LabeledEditFormul"))->text(), kFormula);
        QCOMPARE(window().field(QStringLiteral("LabeledEditSuma"))->text(), QString());
        for (const char* name : {"LabeledEditTB", "LabeledEditKT", "LabeledEditKBM", "LabeledEditKVS", "LabeledEditKO",
                                 "LabeledEditKM", "LabeledEditKS", "LabeledEditKP", "LabeledEditKN"})
            QCOMPARE(window().field(QString::fromUtf8(name))->text(), QStringLiteral("?"));
        // The scratch field is the calculation's, not the reset's.
        QCOMPARE(window().field(QStringLiteral("Edit1"))->text(), QStringLiteral("0,5"));
    }
};

QTEST_MAIN(ResultsPageTest)
#include "ResultsPageTest.moc"
