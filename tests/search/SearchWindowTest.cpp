#include "widgets/Controls.h"
#include "search/SearchWindow.h"
#include "SearchTestSupport.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <memory>

using namespace osago;
using test::SearchRegister;
using test::typeWord;

namespace {

const QString kStr = QStringLiteral("Страхователь_фамилия_фирма");
const QString kVlad = QStringLiteral("Владелец_фамилия_фирма");
const QString kMarka = QStringLiteral("Марка_модель");
const QString kGN = QStringLiteral("Регистрационный_знак");
const QString kKvit = QStringLiteral("Квитанция");
const QString kPolis = QStringLiteral("Номер_серия_полиса");
const QString kZnak = QStringLiteral("Номер_серия_спец_знака");

const QString kPrompt = QStringLiteral("Введите слово для поиска");

} // namespace

// The search window driven as the agent drives it, over a real register file and a grid showing its model.
class SearchWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SearchRegister> m_register;
    std::unique_ptr<QTableView> m_grid;
    std::unique_ptr<SearchWindow> m_form;

    QLineEdit* edit() const { return control<QLineEdit>(*m_form, QStringLiteral("EditPoisk")); }
    QLabel* outcome() const { return control<QLabel>(*m_form, QStringLiteral("LabelNaideno")); }
    QRadioButton* radio(const QString& name) const { return control<QRadioButton>(*m_form, name); }

    void click(const QString& buttonName)
    {
        QTest::mouseClick(control<QPushButton>(*m_form, buttonName), Qt::LeftButton);
    }

    // A click on the round mark of the radio button.
    void pick(const QString& criterion)
    {
        QRadioButton* button = radio(criterion);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QVERIFY(button->isChecked());
    }

    void search(const QString& criterion, const QString& word)
    {
        pick(criterion);
        typeWord(edit(), word);
        click(QStringLiteral("ButtonStart"));
    }

    void addRows(const QString& column, const QStringList& texts)
    {
        for (const QString& text : texts)
            QVERIFY(m_register->addRow(text, {{column, text}}));
    }

private slots:
    void init()
    {
        m_register = std::make_unique<SearchRegister>();
        QVERIFY2(m_register->opened().ok, qPrintable(m_register->opened().error));
        m_grid = std::make_unique<QTableView>();
        m_grid->setModel(&m_register->model());
        m_grid->resize(800, 500);
        m_grid->show();
        m_form = std::make_unique<SearchWindow>(*m_grid);
        m_form->attachRegister(m_register->database(), m_register->model());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup()
    {
        m_form.reset();
        m_grid.reset();
        m_register.reset();
    }

    void windowLayout()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Поиск"));
        QVERIFY(m_form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(m_form->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QCOMPARE(m_form->width(), 377);
        QCOMPARE(edit()->geometry(), QRect(8, 8, 361, 21));
        const auto* group = control<QGroupBox>(*m_form, QStringLiteral("GroupBoxKriterii"));
        QCOMPARE(group->title(), QStringLiteral("Критерии поиска"));
        QCOMPARE(group->geometry(), QRect(8, 40, 361, 97));
        const QList<std::pair<QString, QRect>> buttons{{QStringLiteral("Поиск"), {8, 144, 129, 25}},
                                                       {QStringLiteral("Вся таблица"), {136, 144, 113, 25}},
                                                       {QStringLiteral("Выход"), {248, 144, 121, 25}}};
        const QStringList names{"ButtonStart", "ButtonTable", "ButtonExit"};
        for (int i = 0; i < names.size(); ++i) {
            const auto* button = control<QPushButton>(*m_form, names[i]);
            QCOMPARE(button->text(), buttons[i].first);
            QCOMPARE(button->geometry(), buttons[i].second);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }

    void criteriaPlacesAndCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("Str") << "RadioButtonStr" << "Фамилия страхователя (фирма)" << QPoint(8, 24);
        QTest::newRow("Vlad") << "RadioButtonVlad" << "Фамилия владельца (фирма)" << QPoint(8, 40);
        QTest::newRow("Marka") << "RadioButtonMarka" << "Марка ТС" << QPoint(8, 56);
        QTest::newRow("GN") << "RadioButtonGN" << "Госномер ТС" << QPoint(8, 72);
        QTest::newRow("Kvit") << "RadioButtonKvit" << "Квитанция" << QPoint(192, 24);
        QTest::newRow("Polis") << "RadioButtonPolis" << "Номер и серия полиса" << QPoint(192, 40);
        QTest::newRow("Znak") << "RadioButtonZnak" << "Номер и серия спец. знака" << QPoint(192, 56);
    }

    void criteriaPlacesAndCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, place);
        const QRadioButton* button = radio(name);
        QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("GroupBoxKriterii"));
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->pos(), place);
        QVERIFY2(button->sizeHint().width() <= button->width(),
                 qPrintable(QStringLiteral("the caption needs %1 pixels of %2")
                                .arg(button->sizeHint().width())
                                .arg(button->width())));
    }

    // Tab goes through the edit, the chosen criterion and the three buttons, in that order.
    void tabOrder()
    {
        QStringList visited;
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        edit()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit());
        for (int step = 0; step < 5; ++step) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, QStringList({"EditPoisk", "RadioButtonStr", "ButtonStart", "ButtonTable", "ButtonExit"}));
        QCOMPARE(QApplication::focusWidget(), edit());
    }

    void firstShowHoldsThePromptAndTheFirstCriterion()
    {
        QCOMPARE(edit()->text(), kPrompt);
        QVERIFY(radio(QStringLiteral("RadioButtonStr"))->isChecked());
        QVERIFY(outcome()->text().isEmpty());
    }

    void opensCentredOverItsOwner()
    {
        m_form->hide();
        m_grid->move(40, 60);
        m_form->show();
        QCOMPARE(m_form->frameGeometry().center(), m_grid->frameGeometry().center());
    }

    // Row n holds the word in the n-th criterion's column only, and another text in the other six.
    void eachCriterionSearchesItsColumn_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("expected");
        const QStringList criteria{"RadioButtonStr",   "RadioButtonVlad",  "RadioButtonMarka", "RadioButtonGN",
                                   "RadioButtonKvit",  "RadioButtonPolis", "RadioButtonZnak"};
        for (int n = 0; n < criteria.size(); ++n)
            QTest::newRow(qPrintable(criteria[n])) << criteria[n] << QStringLiteral("строка %1").arg(n);
    }

    void eachCriterionSearchesItsColumn()
    {
        QFETCH(QString, criterion);
        QFETCH(QString, expected);
        const QStringList columns{kStr, kVlad, kMarka, kGN, kKvit, kPolis, kZnak};
        for (int n = 0; n < columns.size(); ++n) {
            PolicyRow row;
            row.setValue(test::kTagColumn, QStringLiteral("строка %1").arg(n));
            for (int column = 0; column < columns.size(); ++column)
                row.setValue(columns[column], column == n ? QStringLiteral("x77Ж") : QStringLiteral("другое"));
            QVERIFY(m_register->database().insert(row).ok);
        }
        search(criterion, QStringLiteral("77ж"));
        QCOMPARE(m_register->shownTags(), QStringList{expected});
        QCOMPARE(outcome()->text(), QStringLiteral("Найдено записей: 1"));
    }

    void lettersMatchWhateverTheirCase_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("lower Cyrillic") << "петров" << QStringList{"Петров", "ПЕТРОВА", "Александропетровский"};
        QTest::newRow("upper Cyrillic") << "ПЕТРОВ" << QStringList{"Петров", "ПЕТРОВА", "Александропетровский"};
        QTest::newRow("mixed Cyrillic") << "пЕтРоВа" << QStringList{"ПЕТРОВА"};
        QTest::newRow("е finds ё") << "семен" << QStringList{"Семёнов", "СЕМЁНОВА", "Семенов"};
        QTest::newRow("ё finds е") << "СЕМЁН" << QStringList{"Семёнов", "СЕМЁНОВА", "Семенов"};
        QTest::newRow("Latin") << "renault" << QStringList{"Renault Logan", "RENAULT"};
        QTest::newRow("middle of a word") << "LOG" << QStringList{"Renault Logan"};
        QTest::newRow("quotes and spaces") << "ооо \"ТРАНС-а" << QStringList{"ООО \"Транс-Авто\""};
    }

    void lettersMatchWhateverTheirCase()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, expected);
        addRows(kStr, {"Петров", "ПЕТРОВА", "Петр", "Александропетровский", "Семёнов", "СЕМЁНОВА", "Семенов",
                       "Renault Logan", "RENAULT", "ООО \"Транс-Авто\"", "Петро"});
        search(QStringLiteral("RadioButtonStr"), word);
        QCOMPARE(m_register->shownTags(), expected);
        QCOMPARE(outcome()->text(), QStringLiteral("Найдено записей: %1").arg(expected.size()));
    }

    void charactersSpecialToSqlAreSearchedLiterally_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("quote") << "'" << QStringList{"O'Brien"};
        QTest::newRow("double quote") << "\"" << QStringList{"ООО \"Ромашка\""};
        QTest::newRow("percent") << "%" << QStringList{"100%"};
        QTest::newRow("underscore") << "a_b" << QStringList{"a_b"};
        QTest::newRow("backslash") << "\\" << QStringList{"С\\Ш"};
        QTest::newRow("quote and keyword") << "'; DROP TABLE TableStrah;--" << QStringList{};
        QTest::newRow("keyword") << "drop table" << QStringList{"Drop Table Inc"};
        QTest::newRow("asterisk") << "*" << QStringList{};
    }

    void charactersSpecialToSqlAreSearchedLiterally()
    {
        QFETCH(QString, word);
        QFETCH(QStringList, expected);
        const QStringList all{"O'Brien", "ООО \"Ромашка\"", "100%", "a_b", "aXb", "С\\Ш", "Drop Table Inc", "ab"};
        addRows(kMarka, all);
        search(QStringLiteral("RadioButtonMarka"), word);
        QCOMPARE(m_register->shownTags(), expected);
        click(QStringLiteral("ButtonTable"));
        QCOMPARE(m_register->shownTags(), all);
    }

    void nothingFoundShowsTitlesAndNoRows()
    {
        addRows(kGN, {"А123ВС36", "В456ОР36"});
        search(QStringLiteral("RadioButtonGN"), QStringLiteral("Х999"));
        QCOMPARE(m_register->model().rowCount(), 0);
        QCOMPARE(m_grid->horizontalHeader()->count(), kPolicyColumnCount);
        QCOMPARE(m_register->model().headerData(0, Qt::Horizontal).toString(), kStr);
        QCOMPARE(outcome()->text(), QStringLiteral("Ничего не найдено"));
    }

    void promptOrEmptyWordShowsTheWholeRegister_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("prompt") << kPrompt;
        QTest::newRow("empty") << QString();
    }

    void promptOrEmptyWordShowsTheWholeRegister()
    {
        QFETCH(QString, word);
        addRows(kStr, {"Иванов", "Сидоров", "Введите слово для поиска"});
        search(QStringLiteral("RadioButtonStr"), QStringLiteral("иванов"));
        QCOMPARE(m_register->shownTags(), QStringList{"Иванов"});
        typeWord(edit(), word);
        click(QStringLiteral("ButtonStart"));
        QCOMPARE(m_register->shownTags(), QStringList({"Иванов", "Сидоров", "Введите слово для поиска"}));
        QVERIFY(!m_register->model().isRestricted());
        QCOMPARE(outcome()->text(), QStringLiteral("Показана вся таблица, записей: 3"));
    }

    void wholeTableBringsEveryRowBack()
    {
        addRows(kVlad, {"Орлов", "Соколов", "Орлова"});
        search(QStringLiteral("RadioButtonVlad"), QStringLiteral("орл"));
        QCOMPARE(m_register->shownTags(), QStringList({"Орлов", "Орлова"}));
        click(QStringLiteral("ButtonTable"));
        QCOMPARE(m_register->shownTags(), QStringList({"Орлов", "Соколов", "Орлова"}));
        QCOMPARE(outcome()->text(), QStringLiteral("Показана вся таблица, записей: 3"));
        QCOMPARE(edit()->text(), QStringLiteral("орл"));
    }

    // Saves, changes and deletions refresh the grid, which keeps showing what the search found.
    void refreshKeepsTheSearch()
    {
        addRows(kStr, {"Кузнецов", "Попов"});
        search(QStringLiteral("RadioButtonStr"), QStringLiteral("кузнец"));
        QCOMPARE(m_register->shownTags(), QStringList{"Кузнецов"});

        QVERIFY(m_register->addRow(QStringLiteral("новая"), {{kStr, QStringLiteral("КУЗНЕЦОВА")}}));
        QVERIFY(m_register->addRow(QStringLiteral("чужая"), {{kStr, QStringLiteral("Смирнов")}}));
        QVERIFY(m_register->model().refresh().ok);
        QCOMPARE(m_register->shownTags(), QStringList({"Кузнецов", "новая"}));
        QCOMPARE(outcome()->text(), QStringLiteral("Найдено записей: 2"));

        PolicyRow changed;
        changed.setValue(test::kTagColumn, QStringLiteral("Кузнецов"));
        changed.setValue(kStr, QStringLiteral("Попова"));
        PolicyDatabase& database = m_register->database();
        const RegisterModel& model = m_register->model();
        QVERIFY(database.update(*model.keyAt(0), *model.rowAt(0), changed).ok);
        QVERIFY(database.remove(*model.keyAt(1), *model.rowAt(1)).ok);
        QVERIFY(m_register->model().refresh().ok);
        QCOMPARE(m_register->model().rowCount(), 0);
        QCOMPARE(outcome()->text(), QStringLiteral("Ничего не найдено"));
    }

    void wordAndCriterionAreKeptAcrossHideAndShow()
    {
        pick(QStringLiteral("RadioButtonPolis"));
        typeWord(edit(), QStringLiteral("ААА№01"));
        click(QStringLiteral("ButtonExit"));
        QVERIFY(!m_form->isVisible());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QCOMPARE(edit()->text(), QStringLiteral("ААА№01"));
        QVERIFY(radio(QStringLiteral("RadioButtonPolis"))->isChecked());
        QVERIFY(!radio(QStringLiteral("RadioButtonStr"))->isChecked());
    }

    // No button is the default or cancel button: Enter and Escape start nothing and close nothing.
    void enterAndEscapeDoNothing()
    {
        addRows(kStr, {"Волков", "Зайцев"});
        typeWord(edit(), QStringLiteral("волк"));
        QTest::keyClick(edit(), Qt::Key_Return);
        QTest::keyClick(edit(), Qt::Key_Escape);
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_register->model().isRestricted());
        QVERIFY(outcome()->text().isEmpty());
    }

    void searchWithoutARegisterSaysSo()
    {
        SearchWindow unattached(*m_grid);
        unattached.show();
        QTest::mouseClick(control<QPushButton>(unattached, QStringLiteral("ButtonStart")), Qt::LeftButton);
        QCOMPARE(control<QLabel>(unattached, QStringLiteral("LabelNaideno"))->text(),
                 QStringLiteral("Реестр полисов не открыт."));
    }
};

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
