#include "editor/EditorBinding.h"
#include "EditorTestSupport.h"
#include "storage/PolicyColumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>

using namespace osago;
using namespace osago::test;

namespace {

// The drivers page keeps the class in ComboBox7 and the experience flag in ComboBox8.
const int kDriverLists[] = {1, 2, 3, 4, 5, 6, 8, 7, 9};

// The columns other than the drivers' that name `control` as their first or second control.
QList<int> columnsBoundTo(const QString& control)
{
    QList<int> columns;
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        const ColumnBinding& binding = columnBindings()[std::size_t(column)];
        if (binding.coding != ColumnCoding::DriverAttribute
            && (binding.control == control || binding.secondControl == control))
            columns << column;
    }
    return columns;
}

template <typename T>
bool isControl(const QWidget& parent, const QString& name)
{
    return parent.findChild<T*>(name) != nullptr;
}

// A text column's control: an edit (masked or not) or a drop-down.
bool holdsText(const QWidget& parent, const QString& name)
{
    return isControl<QLineEdit>(parent, name) || isControl<QComboBox>(parent, name);
}

} // namespace

class EditorBindingTest : public QObject
{
    Q_OBJECT

private slots:
    void everyColumnIsBoundInColumnOrder()
    {
        QCOMPARE(columnBindings().size(), std::size_t(kPolicyColumnCount));
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            const ColumnBinding& binding = columnBindings()[std::size_t(column)];
            QCOMPARE(&columnBinding(policyColumnNames().at(column)), &binding);
            QVERIFY2((binding.coding == ColumnCoding::RowCode) == (column == rowCodeColumnIndex()),
                     qPrintable(policyColumnNames().at(column)));
        }
    }

    void controlsAndCodings_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("coding");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("secondControl");
        QTest::newRow("surname") << "Страхователь_фамилия_фирма" << int(ColumnCoding::Text) << "LabeledEditFamil" << "";
        QTest::newRow("vin") << "VIN" << int(ColumnCoding::Text) << "LabeledEditVin" << "";
        QTest::newRow("owner phone") << "Владелец_телефон" << int(ColumnCoding::Text) << "LabeledEditTelV" << "";
        QTest::newRow("registered") << "РегРФ" << int(ColumnCoding::YesNo) << "CheckBoxReg" << "";
        QTest::newRow("policyholder type")
            << "Тип_страхователя" << int(ColumnCoding::PersonType) << "RadioButtonFiz" << "RadioButtonUr";
        QTest::newRow("owner type") << "Тип_владельца" << int(ColumnCoding::PersonType) << "RadioButtonF"
                                    << "RadioButtonU";
        QTest::newRow("period") << "Срок_использ_месяцы" << int(ColumnCoding::PeriodOrTerm) << "ComboBoxSrok"
                                << "ComboBoxTranzit";
        QTest::newRow("all drivers") << "Допущены_без_ограничений" << int(ColumnCoding::YesNo) << "CheckBoxDopusk"
                                     << "";
        QTest::newRow("learner driving") << "Цель_исп_учеб_езда" << int(ColumnCoding::YesNo) << "CheckBoxUcheb" << "";
        QTest::newRow("premium") << "Сумма_страхования" << int(ColumnCoding::Text) << "LabeledEditSuma" << "";
        QTest::newRow("agent") << "ФИО_агента" << int(ColumnCoding::AgentName) << "EditAg" << "";
        QTest::newRow("code") << "Мантисса_кода" << int(ColumnCoding::RowCode) << "" << "";
    }
    void controlsAndCodings()
    {
        QFETCH(QString, column);
        QFETCH(int, coding);
        QFETCH(QString, control);
        QFETCH(QString, secondControl);
        const int index = policyColumnIndex(column);
        QVERIFY(index >= 0);
        const ColumnBinding& entry = columnBindings()[std::size_t(index)];
        QCOMPARE(int(entry.coding), coding);
        QCOMPARE(entry.control, control);
        QCOMPARE(entry.secondControl, secondControl);
        if (!control.isEmpty())
            QCOMPARE(columnsBoundTo(control), QList<int>{index});
        if (!secondControl.isEmpty())
            QCOMPARE(columnsBoundTo(secondControl), QList<int>{index});
    }

    void driverColumnsNameTheirPositionAndHiddenList()
    {
        for (int driver = 1; driver <= 6; ++driver) {
            for (int attribute = 1; attribute <= 9; ++attribute) {
                const ColumnBinding& column = columnBindings()[std::size_t(driverColumnIndex(driver, attribute))];
                QCOMPARE(column.coding, ColumnCoding::DriverAttribute);
                QCOMPARE(column.driver, driver);
                QCOMPARE(column.attribute, attribute);
                QCOMPARE(column.control, QStringLiteral("ComboBox%1").arg(kDriverLists[attribute - 1]));
            }
        }
        QVERIFY(columnsBoundTo(QStringLiteral("ComboBox1")).isEmpty());
    }

    void everyOtherColumnHasItsOwnControl()
    {
        QSet<QString> controls;
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            const ColumnBinding& binding = columnBindings()[std::size_t(column)];
            const QString& name = policyColumnNames().at(column);
            if (binding.coding == ColumnCoding::DriverAttribute || binding.coding == ColumnCoding::RowCode)
                continue;
            QVERIFY2(!binding.control.isEmpty(), qPrintable(name));
            QVERIFY2(!controls.contains(binding.control), qPrintable(binding.control));
            controls.insert(binding.control);
            if (binding.coding == ColumnCoding::YesNo)
                QVERIFY2(binding.control.startsWith(u"CheckBox"), qPrintable(name));
        }
        QCOMPARE(controls.size(), 123 - 54 - 1);
    }

    // Every control the binding names is a control of the real editor, of the kind its coding reads; the agent's
    // name is the settings window's and checked with it.
    void everyBoundControlIsOneOfTheEditorsOfItsKind()
    {
        Editor editor;
        const QWidget& form = editor.form;
        const QWidget& driversPage = *editor.get(QStringLiteral("TabSheetVodit"));
        for (int column = 0; column < kPolicyColumnCount; ++column) {
            const ColumnBinding& binding = columnBindings()[std::size_t(column)];
            const QByteArray columnName = policyColumnNames().at(column).toUtf8();
            const char* name = columnName.constData();
            switch (binding.coding) {
            case ColumnCoding::Text:
                QVERIFY2(holdsText(form, binding.control), name);
                QVERIFY2(binding.secondControl.isEmpty(), name);
                break;
            case ColumnCoding::YesNo:
                QVERIFY2(isControl<QCheckBox>(form, binding.control), name);
                QVERIFY2(binding.secondControl.isEmpty(), name);
                break;
            case ColumnCoding::PersonType:
                QVERIFY2(isControl<QRadioButton>(form, binding.control), name);
                QVERIFY2(isControl<QRadioButton>(form, binding.secondControl), name);
                break;
            case ColumnCoding::PeriodOrTerm:
                QVERIFY2(isControl<QComboBox>(form, binding.control), name);
                QVERIFY2(isControl<QComboBox>(form, binding.secondControl), name);
                break;
            case ColumnCoding::DriverAttribute:
                QVERIFY2(isControl<QComboBox>(driversPage, binding.control), name);
                break;
            case ColumnCoding::AgentName:
                QVERIFY2(!isControl<QWidget>(form, binding.control), name);
                break;
            case ColumnCoding::RowCode:
                QVERIFY2(binding.control.isEmpty() && binding.secondControl.isEmpty(), name);
                break;
            }
        }
    }
};

QTEST_MAIN(EditorBindingTest)
#include "EditorBindingTest.moc"
