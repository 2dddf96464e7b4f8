#include "EditorTestSupport.h"
#include "widgets/MaskedEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

using namespace osago;
using namespace osago::test;

namespace {

enum class Kind { Edit, Masked, DropDown, CheckBox, Radio };

QString pageOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->objectName().startsWith(QStringLiteral("TabSheet")))
            return w->objectName();
    }
    return {};
}

QString groupOf(const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            return group->title();
    }
    return {};
}

// Names in the order the focus chain of `root` reaches them.
QStringList focusOrder(QWidget* root, const QStringList& names)
{
    QStringList order;
    QWidget* w = root;
    do {
        if (names.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != root);
    return order;
}

} // namespace

Q_DECLARE_METATYPE(Kind)

using SpotChecks = QMap<int, QString>;

class EditorLayoutTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Editor> m_editor;
    Editor& editor() { return *m_editor; }

private slots:
    void init() { m_editor = std::make_unique<Editor>(); }
    void cleanup()
    {
        OSAGO_VERIFY_MESSAGES(editor().seam);
        m_editor.reset();
    }

    void window()
    {
        PolicyEditor& form = editor().form;
        QCOMPARE(form.objectName(), QStringLiteral("Form2"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Редактирование записи"));
        QCOMPARE(form.minimumSize(), QSize(650, 474));
        QCOMPARE(form.maximumSize(), QSize(650, 474));
        QVERIFY(form.parent() == nullptr);
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(editor().show());
        QCOMPARE(editor().pages()->geometry(), QRect(0, 0, 650, 433));
    }

    void pagesInOrder()
    {
        const QStringList names{"TabSheetObsch", "TabSheetStrahov", "TabSheetVlad",
                                "TabSheetTS",    "TabSheetVodit",   "TabSheetRez"};
        const QStringList titles{"Общие сведения", "Страхователь", "Владелец",
                                 "Транспортное средство", "Водители", "Результаты"};
        QTabWidget* pages = editor().pages();
        QCOMPARE(pages->count(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
            QCOMPARE(pages->tabText(i), titles[i]);
        }
        QCOMPARE(pages->currentIndex(), 0);
    }

    void commandButtons()
    {
        QVERIFY(editor().show());
        const int pagesBottom = editor().pages()->geometry().bottom();
        struct Expected { const char* name; const char* text; bool enabled; bool shown; };
        const Expected buttons[] = {
            {"ButtonNaz", "<< Назад", false, true},  {"ButtonVper", "Далее >>", true, true},
            {"ButtonSave", "Сохранить", false, true}, {"ButtonNo", "Отмена", true, true},
            {"ButtonClose", "Закрыть", true, false},
        };
        int left = -1;
        for (const Expected& e : buttons) {
            auto* button = editor().get<QPushButton>(QString::fromUtf8(e.name));
            QCOMPARE(button->text(), QString::fromUtf8(e.text));
            QCOMPARE(button->isEnabled(), e.enabled);
            QCOMPARE(button->isVisible(), e.shown);
            if (!e.shown)
                continue;
            QVERIFY2(button->y() > pagesBottom, e.name);
            QVERIFY2(button->geometry().bottom() < 474, e.name);
            QVERIFY2(button->x() > left, e.name);
            left = button->x();
        }
    }

    void controls_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("enabled");

        const QString general = "TabSheetObsch";
        const QString start = "Начало срока страхования";
        const QString terms = "Условия страхования";
        const QString insurance = "Период страхования ТС";
        const QString use = "Период использования ТС";
        const QString policy = "   №          ";
        const QString receipt = "      ";
        auto row = [](const char* name, Kind kind, const QString& page, const QString& group, const QString& label,
                      const QString& labelName, int limit, const QString& initial, bool shown = true,
                      bool enabled = true) {
            QTest::newRow(name) << kind << page << group << label << labelName << limit << initial << shown
                                << enabled;
        };
        row("RadioButtonFiz", Kind::Radio, general, "Тип Страхователя", "Физ. лицо", {}, 0, "checked");
        row("RadioButtonUr", Kind::Radio, general, "Тип Страхователя", "Юр. лицо", {}, 0, "clear");
        row("RadioButtonF", Kind::Radio, general, "Тип владельца", "Физ. лицо", {}, 0, "checked");
        row("RadioButtonU", Kind::Radio, general, "Тип владельца", "Юр. лицо", {}, 0, "clear");
        row("CheckBoxReg", Kind::CheckBox, general, {}, "Регистрация ТС в РФ", {}, 0, "checked");
        row("LabeledEditVrem", Kind::Edit, general, start, "Время", {}, 8, {});
        row("LabeledEditData", Kind::Edit, general, start, "Дата", {}, 10, {});
        row("ComboBoxSrok", Kind::DropDown, general, terms, "Период использования (мес.)", {}, 0, "12");
        row("ComboBoxTranzit", Kind::DropDown, general, terms, {}, {}, 0, "15 дней", false);
        row("LabeledEditVydan", Kind::Edit, general, terms, "Дата выдачи", {}, 10, {});
        row("EditS", Kind::Masked, general, insurance, "С", {}, 0, kEmptyDate);
        row("EditPo", Kind::Masked, general, insurance, "по", {}, 0, kEmptyDate);
        row("EditIS", Kind::Masked, general, use, "С", {}, 0, kEmptyDate, true, false);
        row("EditIPo", Kind::Masked, general, use, "по", {}, 0, kEmptyDate, true, false);
        row("LabeledEditPolis", Kind::Masked, general, {}, "Номер, серия полиса:", "LabelPolis", 0, policy);
        row("LabeledEditZnak", Kind::Masked, general, {}, "Номер, серия спец. знака:", "LabelZnak", 0, policy);
        row("LabeledEditKvit", Kind::Masked, general, {}, "Квитанция:", "LabelKvit", 0, receipt);
        row("LabeledEditOtmet", Kind::Edit, general, {}, "Особые отметки:", {}, 70, {});

        struct Side { const char* page; const char* names[13]; const char* birthLabel; const char* region; };
        const Side sides[] = {
            {"TabSheetStrahov",
             {"LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditDR", "LabeledEditTel",
              "ComboBoxDoc", "LabeledEditSerNo", "LabeledEditIndex", "ComboBoxStrana", "ComboBoxRegion",
              "EditRayon", "ComboBoxNasel", "EditUlitsa"},
             "LabelDRS", "Тальградская область"},
            {"TabSheetVlad",
             {"LabeledEditF", "LabeledEditI", "LabeledEditO", "LabeledEditDeR", "LabeledEditTelV", "ComboBoxPas",
              "LabeledEditSeriya", "LabeledEditIndeks", "ComboBoxStran", "ComboBoxReg", "EditRay", "ComboBoxPunkt",
              "EditUlica"},
             "LabelDRV", ""},
        };
        for (const Side& side : sides) {
            const QString page = side.page;
            const QString address = "Адрес";
            const char* const* n = side.names;
            row(n[0], Kind::Edit, page, {}, "Фамилия (название фирмы):", {}, 20, {});
            row(n[1], Kind::Edit, page, {}, "Имя:", {}, 15, {});
            row(n[2], Kind::Edit, page, {}, "Отчество:", {}, 15, {});
            row(n[3], Kind::Masked, page, {}, "Дата рождения:", side.birthLabel, 0, kEmptyDate);
            row(n[4], Kind::Edit, page, {}, "Телефон:", {}, 15, {});
            row(n[5], Kind::DropDown, page, {}, "Документ:", {}, 40, "Паспорт РФ");
            row(n[6], Kind::Edit, page, {}, "Серия, номер:", {}, 12, {});
            row(n[7], Kind::Edit, page, address, "Индекс:", {}, 6, "394000");
            row(n[8], Kind::DropDown, page, address, "Страна:", {}, 12, "РФ");
            row(n[9], Kind::DropDown, page, address, "Регион:", {}, 35, QString::fromUtf8(side.region));
            row(n[10], Kind::Edit, page, address, "Район:", {}, 15, {});
            row(n[11], Kind::DropDown, page, address, "Насел. пункт:", {}, 20, {});
            row(n[12], Kind::Edit, page, address, "Улица, дом, корпус, квартира (офис):", {}, 40, {});
        }
    }

    // Kind, page, group, label, initial content, visibility and the typing limit of every control.
    void controls()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, page);
        QFETCH(QString, group);
        QFETCH(QString, label);
        QFETCH(QString, labelName);
        QFETCH(int, limit);
        QFETCH(QString, initial);
        QFETCH(bool, shown);
        QFETCH(bool, enabled);

        QWidget* field = editor().get(QString::fromUtf8(QTest::currentDataTag()));
        QCOMPARE(pageOf(field), page);
        QCOMPARE(groupOf(field), group);
        QCOMPARE(!field->isHidden(), shown);
        QCOMPARE(field->isEnabled(), enabled);

        switch (kind) {
        case Kind::Radio:
        case Kind::CheckBox: {
            auto* button = qobject_cast<QAbstractButton*>(field);
            QVERIFY(kind == Kind::Radio ? qobject_cast<QRadioButton*>(field) != nullptr
                                        : qobject_cast<QCheckBox*>(field) != nullptr);
            QCOMPARE(button->text(), label);
            QCOMPARE(button->isChecked(), initial == "checked");
            return;
        }
        case Kind::Masked:
            QVERIFY(qobject_cast<MaskedEdit*>(field));
            break;
        case Kind::Edit:
            QVERIFY(qobject_cast<QLineEdit*>(field) && !qobject_cast<MaskedEdit*>(field));
            break;
        case Kind::DropDown: {
            auto* dropDown = qobject_cast<QComboBox*>(field);
            QVERIFY(dropDown);
            QVERIFY(dropDown->isEditable());
            QCOMPARE(dropDown->insertPolicy(), QComboBox::NoInsert);
            break;
        }
        }
        QCOMPARE(controlText(field), initial);

        QLabel* caption = captionOf(editor().form, field);
        if (label.isEmpty()) {
            QVERIFY(!caption);
        } else {
            QVERIFY(caption);
            QCOMPARE(caption->text(), label);
            if (!labelName.isEmpty())
                QCOMPARE(caption->objectName(), labelName);
        }

        if (limit > 0) {
            QVERIFY(editor().show());
            editor().pages()->setCurrentWidget(editor().get(page));
            editor().retypeField(QTest::currentDataTag(), QString(limit + 1, QLatin1Char('x')));
            QCOMPARE(controlText(field), QString(limit, QLatin1Char('x')));
        }
    }

    void items_data()
    {
        QTest::addColumn<QStringList>("dropDowns");
        QTest::addColumn<int>("count");
        QTest::addColumn<SpotChecks>("spotChecks");

        auto all = [](const QStringList& items) {
            SpotChecks checks;
            for (int i = 0; i < items.size(); ++i)
                checks[i] = items[i];
            return checks;
        };
        QTest::newRow("months") << QStringList{"ComboBoxSrok"} << 7
                                << all({"6", "7", "8", "9", "10", "11", "12"});
        QTest::newRow("terms abroad") << QStringList{"ComboBoxTranzit"} << 7
                                      << all({"15 дней", "1", "2", "3", "4", "5", "6"});
        QTest::newRow("documents")
            << QStringList{"ComboBoxDoc", "ComboBoxPas"} << 12
            << all({"Паспорт РФ", "Паспорт СССР", "Паспорт заграничный", "Паспорт дипломатический", "Паспорт моряка",
                    "Удостоверение личности офицера", "Военный билет", "Вид на жительство (в РФ)",
                    "Иностранный паспорт", "Свидетельство о регистрации",
                    "Свидетельство о внесении записи в ЕГРЮЛ", "Иной документ"});
        QTest::newRow("countries") << QStringList{"ComboBoxStrana", "ComboBoxStran"} << 5
                                   << all({"РФ", "Белоруссия", "Украина", "Казахстан", "Ввести др. страну"});
        QTest::newRow("regions") << QStringList{"ComboBoxRegion", "ComboBoxReg"} << 89
                                 << SpotChecks{{0, "Тальградская область"},
                                                       {2, "Рескублика Башкортостан"},
                                                       {14, "Республика Саха (Якутия)"},
                                                       {22, "Алтайский край"},
                                                       {28, "Амурская обл."},
                                                       {38, "Калиниградская обл."},
                                                       {76, "Москва"},
                                                       {83, "Таймырский (Долгано-Ненецкий) АО"},
                                                       {87, "Эвенкейский АО"},
                                                       {88, "Ямало-Ненецкий АО"}};
        QTest::newRow("localities") << QStringList{"ComboBoxNasel", "ComboBoxPunkt"} << 0 << SpotChecks{};
    }

    void items()
    {
        QFETCH(QStringList, dropDowns);
        QFETCH(int, count);
        QFETCH(SpotChecks, spotChecks);
        for (const QString& name : dropDowns) {
            auto* dropDown = editor().get<QComboBox>(name);
            QCOMPARE(dropDown->count(), count);
            for (auto it = spotChecks.cbegin(); it != spotChecks.cend(); ++it)
                QCOMPARE(dropDown->itemText(it.key()), it.value());
        }
    }

    // Page 1 in the order of the Tab key, then the command buttons.
    void tabOrder()
    {
        const QStringList firstPage{"RadioButtonFiz", "RadioButtonUr", "RadioButtonF", "RadioButtonU", "CheckBoxReg",
                                    "LabeledEditVrem", "LabeledEditData", "ComboBoxSrok", "ComboBoxTranzit",
                                    "LabeledEditVydan", "EditS", "EditPo", "EditIS", "EditIPo",
                                    "LabeledEditPolis", "LabeledEditZnak", "LabeledEditKvit", "LabeledEditOtmet"};
        const QStringList buttons{"ButtonNaz", "ButtonVper", "ButtonSave", "ButtonNo", "ButtonClose"};
        QCOMPARE(focusOrder(&editor().form, firstPage + buttons), firstPage + buttons);

        const QStringList policyholder{"LabeledEditFamil", "LabeledEditImia", "LabeledEditOtch", "LabeledEditDR",
                                       "LabeledEditTel", "ComboBoxDoc", "LabeledEditSerNo", "LabeledEditIndex",
                                       "ComboBoxStrana", "ComboBoxRegion", "EditRayon", "ComboBoxNasel",
                                       "EditUlitsa"};
        QCOMPARE(focusOrder(&editor().form, policyholder), policyholder);

        QVERIFY(editor().show());
        QVERIFY(QTest::qWaitForWindowActive(&editor().form));
        editor().get(QStringLiteral("LabeledEditOtmet"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ButtonVper"));
    }
};

QTEST_MAIN(EditorLayoutTest)
#include "EditorLayoutTest.moc"
