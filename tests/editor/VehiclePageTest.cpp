#include "widgets/Controls.h"
#include "widgets/MaskedEdit.h"
#include "PageTestSupport.h"
#include "ScriptedMessages.h"
#include "editor/VehiclePage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include <memory>

using namespace osago;
using osago::test::ScriptedMessages;

namespace {

const QString kCar = QStringLiteral("Легковой автомобиль");
const QString kTruck = QStringLiteral("Грузовой автомобиль");
const QString kBus = QStringLiteral("Автобус");

// The page inside a plain editor window, shown as the agent sees it.
struct VehicleEditor
{
    QWidget editor;
    VehiclePage* page;

    explicit VehicleEditor(Messages& messages)
        : page(new VehiclePage(editor, messages, &editor))
    {
        editor.resize(650, 433);
        editor.show();
    }

    template <typename T = QLineEdit>
    T* get(const char* name) const
    {
        return control<T>(editor, QString::fromUtf8(name));
    }

    QComboBox* type() const { return get<QComboBox>("ComboBoxTipTS"); }
    QPushButton* equals() const { return get<QPushButton>("ButtonRavno"); }
    bool shown(const char* name) const { return get<QWidget>(name)->isVisibleTo(page); }
};

void clickBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

} // namespace

class VehiclePageTest : public QObject
{
    Q_OBJECT

    ScriptedMessages m_seam;
    std::unique_ptr<VehicleEditor> m_window;

    VehicleEditor& window() { return *m_window; }

private slots:
    void init()
    {
        m_seam = ScriptedMessages();
        m_window = std::make_unique<VehicleEditor>(m_seam);
        QVERIFY(QTest::qWaitForWindowExposed(&m_window->editor));
    }

    void cleanup()
    {
        m_window.reset();
        OSAGO_VERIFY_MESSAGES(m_seam);
    }

    void pageCarriesItsName() { QCOMPARE(window().page->objectName(), QStringLiteral("TabSheetTS")); }

    void fields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("typingLimit");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("shown");
        const auto row = [](const char* name, const char* caption, int limit, const char* initial, bool shown) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption) << limit
                                << QString::fromUtf8(initial) << shown;
        };
        row("ComboBoxTipTS", "Тип ТС:", 60, "Легковой автомобиль", true);
        row("EditMarka", "Марка, модель:", 25, "", true);
        row("LabeledEditVin", "VIN:", 17, "", true);
        row("LabeledEditMoshn", "Мощность (л.с.):", 4, "", true);
        row("LabeledEditKVt", "Мощность (кВт):", 4, "", true);
        row("LabeledEditNomShassi", "№ шасси:", 17, "", true);
        row("LabeledEditKuzov", "Кузов:", 17, "", true);
        row("LabeledEditGod", "Год выпуска:", 4, "", true);
        row("LabeledEditReg", "Регистрационный знак:", 9, "", true);
        row("LabeledEditPTS", "Серия, № ПТС:", 10, "", true);
        row("LabeledEditMassa", "Разрешённая максимальная масса (кг):", 5, "0", false);
        row("LabeledEditNagruz", "Масса без нагрузки (кг):", 5, "0", false);
        row("LabeledEditMesta", "Кол-во мест сидения, вкл. водителя:", 3, "0", false);
        row("EditRaschetGruz", "", 0, "", false);
    }
    void fields()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, typingLimit);
        QFETCH(QString, initial);
        QFETCH(bool, shown);

        auto* field = control<QWidget>(window().editor, name);
        QCOMPARE(controlText(field), initial);
        QCOMPARE(field->isVisibleTo(window().page), shown);

        QLabel* label = osago::test::captionOf(window().editor, field);
        if (caption.isEmpty()) {
            QVERIFY(!label);
        } else {
            QVERIFY(label);
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->isVisibleTo(window().page), shown);
        }

        if (typingLimit == 0)
            return;
        field->show();
        auto* combo = qobject_cast<QComboBox*>(field);
        QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(field);
        osago::test::retype(edit, QString(typingLimit + 3, QLatin1Char('7')));
        QCOMPARE(controlText(field), QString(typingLimit, QLatin1Char('7')));
        // The limit binds typing only: the program's texts stay whole.
        const QString longer(typingLimit + 5, QLatin1Char('1'));
        setControlText(field, longer);
        QCOMPARE(controlText(field), longer);
    }

    void vehicleTypesAreListedInOrder()
    {
        const QStringList expected = {
            QStringLiteral("Легковой автомобиль"),
            QStringLiteral("Прицеп  к легковому автомобилю"),
            QStringLiteral("Такси (в т.ч. маршрутное)"),
            QStringLiteral("Грузовой автомобиль"),
            QStringLiteral("Прицеп к грузовому автомобилю"),
            QStringLiteral("Автобус"),
            QStringLiteral("Троллейбус"),
            QStringLiteral("Трамвай"),
            QStringLiteral("Тракторы, самоходные дорожно-строительные и иные машины"),
            QStringLiteral("Прицепы к тракторам, самоход. дорожно-строит. и иным машинам"),
            QStringLiteral("Мотоциклы и мотороллеры"),
        };
        QComboBox* type = window().type();
        QStringList items;
        for (int i = 0; i < type->count(); ++i)
            items << type->itemText(i);
        QCOMPARE(items, expected);
        QVERIFY(type->isEditable());
        QCOMPARE(type->insertPolicy(), QComboBox::NoInsert);
    }

    void vehiclePassportGroup()
    {
        auto* number = window().get("LabeledEditPTS");
        auto* issued = window().get<MaskedEdit>("LabeledEditVidacha");
        for (QWidget* field : {static_cast<QWidget*>(number), static_cast<QWidget*>(issued)}) {
            auto* group = qobject_cast<QGroupBox*>(field->parentWidget());
            QVERIFY(group);
            QCOMPARE(group->title(), QStringLiteral("Паспорт ТС"));
        }
        auto* label = window().get<QLabel>("LabelVidacha");
        QCOMPARE(label->text(), QStringLiteral("Дата выдачи:"));
        QCOMPARE(label->buddy(), issued);
        QCOMPARE(issued->maskedText(), QStringLiteral("  .  .    "));

        issued->setFocus();
        QTest::keyClick(issued, Qt::Key_Home);
        QTest::keyClicks(issued, QStringLiteral("01022003"));
        QCOMPARE(issued->maskedText(), QStringLiteral("01.02.2003"));
    }

    void purposes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checked");
        const auto row = [](const char* name, const char* caption, bool checked) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(caption) << checked;
        };
        row("CheckBoxLich", "Личная", true);
        row("CheckBoxUcheb", "Учебная езда", false);
        row("CheckBoxInkas", "Инкассация", false);
        row("CheckBoxSkora", "Скорая помощь", false);
        row("CheckBoxTaxi", "Такси", false);
        row("CheckBoxSpec", "Дорожное или спец. ТС", false);
        row("CheckBoxProk", "Прокат или аренда", false);
        row("CheckBoxProch", "Прочие", false);
    }
    void purposes()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, checked);
        auto* box = control<QCheckBox>(window().editor, name);
        QCOMPARE(box->text(), caption);
        QCOMPARE(box->isChecked(), checked);
        auto* group = qobject_cast<QGroupBox*>(box->parentWidget());
        QVERIFY(group);
        QCOMPARE(group->title(), QStringLiteral("Цель использования"));
        clickBox(box);
        QCOMPARE(box->isChecked(), !checked);
    }

    void purposesStandInTwoColumnsOfFour()
    {
        const char* const columns[2][4] = {
            {"CheckBoxLich", "CheckBoxUcheb", "CheckBoxInkas", "CheckBoxSkora"},
            {"CheckBoxTaxi", "CheckBoxSpec", "CheckBoxProk", "CheckBoxProch"},
        };
        for (int row = 0; row < 4; ++row) {
            const QRect left = window().get<QCheckBox>(columns[0][row])->geometry();
            const QRect right = window().get<QCheckBox>(columns[1][row])->geometry();
            QCOMPARE(right.top(), left.top());
            QVERIFY(right.left() >= left.right());
            QCOMPARE(left.left(), window().get<QCheckBox>(columns[0][0])->x());
            QCOMPARE(right.left(), window().get<QCheckBox>(columns[1][0])->x());
            if (row > 0)
                QVERIFY(left.top() > window().get<QCheckBox>(columns[0][row - 1])->geometry().bottom());
        }
    }

    void pickingBusShowsFiveSeatsEveryTime()
    {
        QVERIFY(osago::test::pickItem(window().type(), kBus));
        QVERIFY(window().shown("LabeledEditMesta"));
        QVERIFY(osago::test::captionOf(window().editor, window().get("LabeledEditMesta"))->isVisibleTo(window().page));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("5"));

        osago::test::retype(window().get("LabeledEditMesta"), QStringLiteral("33"));
        QVERIFY(osago::test::pickItem(window().type(), QStringLiteral("Троллейбус")));
        QVERIFY(!window().shown("LabeledEditMesta"));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("0"));

        QVERIFY(osago::test::pickItem(window().type(), kBus));
        QVERIFY(window().shown("LabeledEditMesta"));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("5"));
        QVERIFY(!window().shown("LabeledEditMassa"));
    }

    void pickingTruckShowsBothMassFields()
    {
        QVERIFY(osago::test::pickItem(window().type(), kTruck));
        for (const char* name : {"LabeledEditMassa", "LabeledEditNagruz"}) {
            QVERIFY(window().shown(name));
            QCOMPARE(window().get(name)->text(), QStringLiteral("0"));
        }
        QVERIFY(!window().shown("LabeledEditMesta"));

        osago::test::retype(window().get("LabeledEditMassa"), QStringLiteral("17000"));
        osago::test::retype(window().get("LabeledEditNagruz"), QStringLiteral("8000"));
        QVERIFY(osago::test::pickItem(window().type(), kTruck));
        QCOMPARE(window().get("LabeledEditMassa")->text(), QStringLiteral("17000"));
        QCOMPARE(window().get("LabeledEditNagruz")->text(), QStringLiteral("8000"));

        QVERIFY(osago::test::pickItem(window().type(), QStringLiteral("Трамвай")));
        for (const char* name : {"LabeledEditMassa", "LabeledEditNagruz"}) {
            QVERIFY(!window().shown(name));
            QCOMPARE(window().get(name)->text(), QStringLiteral("0"));
        }
    }

    void typingTheTypeRunsTheRule()
    {
        QComboBox* type = window().type();
        type->lineEdit()->setFocus();
        type->lineEdit()->selectAll();
        osago::test::typeText(type->lineEdit(), kBus);
        QCOMPARE(type->currentText(), kBus);
        QVERIFY(window().shown("LabeledEditMesta"));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("5"));

        // One more keystroke leaves the bus type.
        osago::test::typeText(type->lineEdit(), QStringLiteral("ы"));
        QVERIFY(!window().shown("LabeledEditMesta"));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("0"));
    }

    void programWrittenTypeRunsNoRule()
    {
        setControlText(window().type(), kTruck);
        QCOMPARE(window().type()->currentText(), kTruck);
        QVERIFY(!window().shown("LabeledEditMassa"));
        QVERIFY(!window().shown("LabeledEditNagruz"));
    }

    void completeVinFillsChassisAndBody()
    {
        QLineEdit* vin = window().get("LabeledEditVin");
        QLineEdit* chassis = window().get("LabeledEditNomShassi");
        QLineEdit* body = window().get("LabeledEditKuzov");
        osago::test::retype(chassis, QStringLiteral("OLD1"));
        osago::test::retype(body, QStringLiteral("OLD2"));

        const QString fullVin = QStringLiteral("XTA21070012345678");
        osago::test::retype(vin, fullVin.left(16));
        QCOMPARE(chassis->text(), QStringLiteral("OLD1"));
        QCOMPARE(body->text(), QStringLiteral("OLD2"));

        osago::test::typeText(vin, fullVin.right(1));
        QCOMPARE(chassis->text(), QStringLiteral("2345678"));
        QCOMPARE(body->text(), QStringLiteral("2345678"));

        QTest::keyClick(vin, Qt::Key_Backspace);
        QCOMPARE(vin->text(), fullVin.left(16));
        QCOMPARE(chassis->text(), QStringLiteral("2345678"));
        QCOMPARE(body->text(), QStringLiteral("2345678"));

        // A VIN the program writes counts the same.
        setControlText(vin, QStringLiteral("WVWZZZ1JZXW000042"));
        QCOMPARE(chassis->text(), QStringLiteral("W000042"));
        QCOMPARE(body->text(), QStringLiteral("W000042"));
        setControlText(vin, QStringLiteral("WVWZZZ1JZXW0000435"));
        QCOMPARE(chassis->text(), QStringLiteral("W000042"));
        QCOMPARE(body->text(), QStringLiteral("W000042"));
    }

    void equalsButtonEnablement_data()
    {
        QTest::addColumn<QString>("horsepower");
        QTest::addColumn<QString>("kilowatts");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("horsepower only") << QStringLiteral("40") << QString() << true;
        QTest::newRow("kilowatts only") << QString() << QStringLiteral("55") << true;
        QTest::newRow("both empty") << QString() << QString() << false;
        QTest::newRow("both filled") << QStringLiteral("40") << QStringLiteral("29") << false;
        QTest::newRow("not a number counts as text") << QStringLiteral("abc") << QString() << true;
    }
    void equalsButtonEnablement()
    {
        QFETCH(QString, horsepower);
        QFETCH(QString, kilowatts);
        QFETCH(bool, enabled);
        QVERIFY(!window().equals()->isEnabled());
        osago::test::retype(window().get("LabeledEditMoshn"), horsepower);
        osago::test::retype(window().get("LabeledEditKVt"), kilowatts);
        QCOMPARE(window().equals()->isEnabled(), enabled);
    }

    void emptyingOneOfAPairEnablesEquals()
    {
        osago::test::retype(window().get("LabeledEditMoshn"), QStringLiteral("40"));
        osago::test::retype(window().get("LabeledEditKVt"), QStringLiteral("30"));
        QVERIFY(!window().equals()->isEnabled());
        osago::test::retype(window().get("LabeledEditKVt"), QString());
        QVERIFY(window().equals()->isEnabled());
        // A program write runs the same rule.
        setControlText(window().get("LabeledEditKVt"), QStringLiteral("30"));
        QVERIFY(!window().equals()->isEnabled());
    }

    void equalsConverts_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("converted");
        const QString hp = QStringLiteral("LabeledEditMoshn");
        const QString kw = QStringLiteral("LabeledEditKVt");
        QTest::newRow("40 hp") << hp << QStringLiteral("40") << kw << QStringLiteral("29,4118");
        QTest::newRow("100 hp") << hp << QStringLiteral("100") << kw << QStringLiteral("73,5294");
        QTest::newRow("150 hp") << hp << QStringLiteral("150") << kw << QStringLiteral("110,2941");
        QTest::newRow("55 kW") << kw << QStringLiteral("55") << hp << QStringLiteral("74,8");
        QTest::newRow("110 kW") << kw << QStringLiteral("110") << hp << QStringLiteral("149,6");
        QTest::newRow("37 kW") << kw << QStringLiteral("37") << hp << QStringLiteral("50,32");
        QTest::newRow("comma typed") << kw << QStringLiteral("2,5") << hp << QStringLiteral("3,4");
    }
    void equalsConverts()
    {
        QFETCH(QString, source);
        QFETCH(QString, text);
        QFETCH(QString, target);
        QFETCH(QString, converted);
        osago::test::retype(control<QLineEdit>(window().editor, source), text);
        QVERIFY(window().equals()->isEnabled());
        QTest::mouseClick(window().equals(), Qt::LeftButton);
        QCOMPARE(controlText(window().editor, target), converted);
        QCOMPARE(controlText(window().editor, source), text);
        QVERIFY(!window().equals()->isEnabled());
        QVERIFY(m_seam.shown().isEmpty());
    }

    void equalsReportsTextThatIsNoNumber()
    {
        osago::test::retype(window().get("LabeledEditMoshn"), QStringLiteral("4.5"));
        QTest::mouseClick(window().equals(), Qt::LeftButton);
        QCOMPARE(m_seam.shownTexts(), QStringList{QStringLiteral("'4.5' is not a valid floating point value")});
        QCOMPARE(m_seam.shown().first().title, kProgramTitle);
        QCOMPARE(m_seam.shown().first().icon, Messages::Icon::Critical);
        QCOMPARE(window().get("LabeledEditKVt")->text(), QString());
        QVERIFY(window().equals()->isEnabled());
    }

    void resetVehicleEmptiesTheVehicle()
    {
        QVERIFY(osago::test::pickItem(window().type(), kTruck));
        osago::test::retype(window().get("LabeledEditMassa"), QStringLiteral("17000"));
        osago::test::retype(window().get("LabeledEditNagruz"), QStringLiteral("8000"));
        const char* const fields[] = {"EditMarka", "LabeledEditReg", "LabeledEditPTS", "LabeledEditGod",
                                      "LabeledEditMoshn"};
        for (const char* name : fields)
            osago::test::retype(window().get(name), QStringLiteral("12"));
        osago::test::retype(window().get("LabeledEditVin"), QStringLiteral("XTA21070012345678"));
        setControlText(window().get<MaskedEdit>("LabeledEditVidacha"), QStringLiteral("01.02.2003"));
        QVERIFY(window().equals()->isEnabled());

        window().page->resetVehicle();

        QCOMPARE(window().type()->currentText(), kCar);
        for (const char* name : fields)
            QCOMPARE(window().get(name)->text(), QString());
        for (const char* name : {"LabeledEditVin", "LabeledEditNomShassi", "LabeledEditKuzov", "LabeledEditKVt"})
            QCOMPARE(window().get(name)->text(), QString());
        QCOMPARE(window().get<MaskedEdit>("LabeledEditVidacha")->maskedText(), QStringLiteral("  .  .    "));
        for (const char* name : {"LabeledEditMassa", "LabeledEditNagruz", "LabeledEditMesta"}) {
            QCOMPARE(window().get(name)->text(), QStringLiteral("0"));
            QVERIFY(!window().shown(name));
        }
        // The power fields' change rule ran and found both empty.
        QVERIFY(!window().equals()->isEnabled());
    }

    void resetVehicleHidesTheSeats()
    {
        QVERIFY(osago::test::pickItem(window().type(), kBus));
        window().page->resetVehicle();
        QVERIFY(!window().shown("LabeledEditMesta"));
        QCOMPARE(window().get("LabeledEditMesta")->text(), QStringLiteral("0"));
    }

    void resetPurposesLeavesPersonalUseOnly()
    {
        clickBox(window().get<QCheckBox>("CheckBoxLich"));
        clickBox(window().get<QCheckBox>("CheckBoxTaxi"));
        clickBox(window().get<QCheckBox>("CheckBoxProch"));
        setControlText(window().get("EditRaschetGruz"), QStringLiteral("1"));
        osago::test::retype(window().get("LabeledEditMoshn"), QStringLiteral("40"));
        QVERIFY(window().equals()->isEnabled());

        window().page->resetPurposes();

        const auto boxes = window().editor.findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 8);
        for (const QCheckBox* box : boxes)
            QCOMPARE(box->isChecked(), box->objectName() == QStringLiteral("CheckBoxLich"));
        QCOMPARE(window().get("EditRaschetGruz")->text(), QString());
        QVERIFY(!window().equals()->isEnabled());
    }
};

QTEST_MAIN(VehiclePageTest)
#include "VehiclePageTest.moc"
