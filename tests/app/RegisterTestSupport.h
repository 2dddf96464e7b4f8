#pragma once

#include "AppTestSupport.h"
#include "widgets/Controls.h"
#include "editor/EditorBinding.h"
#include "editor/EditorDrivers.h"
#include "editor/PolicyEditor.h"
#include "app/MainWindow.h"
#include "storage/PersonType.h"
#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"
#include "storage/PolicyRow.h"
#include "storage/YesNo.h"
#include "app/Program.h"
#include "grid/RegisterModel.h"
#include "ScriptedMessages.h"
#include "TestRegister.h"
#include "widgets/WindowedGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHash>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <memory>

namespace osago::test {

// Settings of their own for a test program, emptied before each test.
inline void useTestSettings(const char* program)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("osago-tests"));
    QCoreApplication::setApplicationName(QString::fromLatin1(program));
}

// The whole program, started, over a register of its own (a file in its temporary folder, or a fresh database of
// the test server in a run there; see TestRegister), or over `registerPath`.
class TestProgram
{
public:
    explicit TestProgram(const QString& registerPath = {}, std::unique_ptr<DocumentPrinter> printer = {},
                         std::unique_ptr<FileChoices> files = std::make_unique<DialogFileChoices>())
        : location(!registerPath.isEmpty() ? registerPath
                   : testRegister.onServer() ? testRegister.location()
                                             : folder.filePath(QStringLiteral("Baza.mdb")))
        , program(seam, {location, std::move(printer), std::move(files)})
    {
        program.start();
    }

    QTemporaryDir folder;
    TestRegister testRegister;
    // The register's file or server URI.
    const QString location;
    ScriptedMessages seam;
    Program program;

    MainWindow& main() { return program.mainWindow(); }
    PolicyEditor& editor() { return program.policyEditor(); }
    RegisterModel& model() { return program.registerModel(); }

    void trigger(const char* command) { control<QAction>(main(), QString::fromLatin1(command))->trigger(); }
    void selectRow(int row) { main().grid().selectSourceCell(row); }
    PolicyRow storedRow(int gridRow) { return program.database().load(*model().keyAt(gridRow)).value; }
};

inline void clickButton(const QWidget& window, const char* name)
{
    QTest::mouseClick(control<QPushButton>(window, QString::fromLatin1(name)), Qt::LeftButton);
}

// Steps through the pages with "Далее >>" as the agent does, and saves on the results page.
inline void saveFromEditor(PolicyEditor& editor)
{
    auto* pages = control<QTabWidget>(editor, QStringLiteral("PageControl"));
    while (pages->currentIndex() < pages->count() - 1)
        clickButton(editor, "ButtonVper");
    clickButton(editor, "ButtonSave");
}

// Which branches of the editor a record takes.
struct RecordShape
{
    bool registered = true;
    bool legalPolicyholder = false;
    bool legalOwner = false;
    int drivers = 0;
    bool allDriversAdmitted = false;
    QString vehicleType = QStringLiteral("Легковой автомобиль");
};

// Texts that must have a given form: masked fields, dates the rules read, drop-downs with a meaning.
inline QHash<QString, QString> formedTexts(const RecordShape& shape)
{
    return {
        {"Номер_серия_полиса", "ААА№0123456789"},
        {"Квитанция", "123456"},
        {"Номер_серия_спец_знака", "ВВВ№9876543210"},
        {"Страхователь_др_ИНН", "12.03.1975"},
        {"Страхователь_регион", "Московская обл."},
        {"Страхователь_насел_пункт", "Химки"},
        {"Владелец_др_ИНН", "23.11.1968"},
        {"Владелец_регион", "Тальградская область"},
        {"Владелец_насел_пункт", "Лиски"},
        {"Тип_ТС", shape.vehicleType},
        {"VIN", "XTA21099012345678"},
        {"Мощность_л_с", "150"},
        {"Мощность_кВт", "110"},
        {"Дата_выдачи_ПТС", "14.07.2019"},
        {"Время_начала_срока_страхования", "09:30:00"},
        {"Дата_начала_срока_страхования", "01.02.2024"},
        {"Дата_выдачи", "15.01.2024"},
        {"Срок_использ_месяцы", shape.registered ? "7" : "3"},
        {"Страх_с", "01.02.2024"},
        {"Страх_по", "31.01.2025"},
        {"Использ_с", "05.03.2024"},
        {"Использ_по", "04.09.2024"},
        {"Класс_ТС", shape.allDriversAdmitted ? "M" : "7"},
        {"Сумма_страхования", "1497,7462"},
    };
}

inline QString driverText(const QString& name, const ColumnBinding& column)
{
    const int n = column.driver;
    if (name.startsWith(u"Допущен_дата_рождения"))
        return QStringLiteral("%1.0%2.19%3").arg(10 + n).arg(n).arg(60 + 5 * n);
    if (name.startsWith(u"Доп_cтаж_более_2") || name.startsWith(u"Доп_груб"))
        return yesNo(n % 2 == 1);
    return QStringLiteral("в%1-%2").arg(n).arg(column.attribute);
}

// A record that fills every column with a text of its own: the formed texts above, the shape's choices, yes and
// no alternating in the check boxes, and "т<column number>" everywhere else.
inline PolicyRow distinctiveRow(const RecordShape& shape, const QString& agent)
{
    const QHash<QString, QString> formed = formedTexts(shape);
    PolicyRow row;
    for (int i = 0; i < kPolicyColumnCount; ++i) {
        const QString& name = policyColumnNames().at(i);
        const ColumnBinding& column = columnBindings()[std::size_t(i)];
        QString text = formed.value(name, QStringLiteral("т%1").arg(i + 1));
        switch (column.coding) {
        case ColumnCoding::YesNo:
            text = yesNo(i % 2 == 0);
            break;
        case ColumnCoding::PersonType:
            text = personType(name == u"Тип_страхователя" ? shape.legalPolicyholder : shape.legalOwner);
            break;
        case ColumnCoding::DriverAttribute:
            text = column.driver <= shape.drivers ? driverText(name, column) : QString();
            break;
        case ColumnCoding::AgentName:
            text = agent;
            break;
        case ColumnCoding::RowCode:
            text.clear();
            break;
        case ColumnCoding::Text:
        case ColumnCoding::PeriodOrTerm:
            break;
        }
        row.setValue(i, text);
    }
    row.setValue(u"РегРФ", yesNo(shape.registered));
    row.setValue(u"Допущены_без_ограничений", yesNo(shape.allDriversAdmitted));
    row.setValue(u"Грубые_наруш", yesNo(true));
    // A firm has neither a first name nor a patronymic: the editor empties them.
    for (const auto& [legal, party] : {std::pair{shape.legalPolicyholder, QStringLiteral("Страхователь")},
                                      std::pair{shape.legalOwner, QStringLiteral("Владелец")}}) {
        if (legal) {
            row.setValue(party + QStringLiteral("_имя"), {});
            row.setValue(party + QStringLiteral("_отчество"), {});
        }
    }
    return row;
}

// Enters `row` into the open editor control by control, as the editor's binding names them: every column in order,
// then every text once more (a full VIN has written the chassis and body numbers over); the drivers are listed on
// the drivers page.
inline void enterRow(PolicyEditor& editor, const PolicyRow& row)
{
    const bool registered = isYes(row.value(u"РегРФ"));
    QList<DriverListTexts> drivers(row.driverCount());
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kPolicyColumnCount; ++i) {
            const ColumnBinding& column = columnBindings()[std::size_t(i)];
            const QString& text = row.value(i);
            switch (column.coding) {
            case ColumnCoding::Text:
                setControlText(editor, column.control, text);
                break;
            case ColumnCoding::YesNo:
                if (pass == 0)
                    control<QCheckBox>(editor, column.control)->setChecked(isYes(text));
                break;
            case ColumnCoding::PersonType:
                control<QRadioButton>(editor, isLegalEntity(text) ? column.secondControl : column.control)
                    ->setChecked(true);
                break;
            case ColumnCoding::PeriodOrTerm:
                setControlText(editor, registered ? column.control : column.secondControl, text);
                break;
            case ColumnCoding::DriverAttribute:
                if (column.driver <= drivers.size())
                    drivers[column.driver - 1].insert(column.control, text);
                break;
            case ColumnCoding::AgentName:
            case ColumnCoding::RowCode:
                break;
            }
        }
    }
    QVERIFY(listDrivers(editor, drivers));
}

// Compares two rows column by column, naming the first column that differs.
inline void compareRows(const PolicyRow& actual, const PolicyRow& expected, bool withCode)
{
    for (int i = 0; i < kPolicyColumnCount; ++i) {
        if (i == rowCodeColumnIndex() && !withCode)
            continue;
        const QString& column = policyColumnNames().at(i);
        QVERIFY2(actual.value(i) == expected.value(i),
                 qPrintable(QStringLiteral("%1: «%2», expected «%3»").arg(column, actual.value(i), expected.value(i))));
    }
}

// The rows of the register at `location` as another program reads them.
inline QList<PolicyRow> rowsOnDisk(const QString& location)
{
    const auto engine = makeDatabase(location);
    PolicyDatabase& database = *engine;
    if (!database.open(location, PolicyDatabase::Access::ReadOnly).ok)
        return {};
    RegisterModel model(database);
    model.refresh();
    QList<PolicyRow> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << database.load(*model.keyAt(row)).value;
    return rows;
}

} // namespace osago::test
