#include "print/TemplateText.h"

#include <QHash>
#include <QTest>

using namespace osago;

namespace {

const QHash<QString, QString> kFields = {
    {QStringLiteral("Имя"), QStringLiteral("Вера")},
    {QStringLiteral("Адрес"), QStringLiteral("<b>7</b> & Ко \"А\"")},
    {QStringLiteral("Да"), QStringLiteral("Да")},
    {QStringLiteral("Нет"), QStringLiteral("Нет")},
    {QStringLiteral("Пусто"), QString()},
    {QStringLiteral("Почти"), QStringLiteral("да")},
    {QStringLiteral("Дата"), QStringLiteral("  .  .    ")},
    {QStringLiteral("Номер"), QStringLiteral("   №          ")},
    {QStringLiteral("Прочерк"), QStringLiteral("-")},
};

std::optional<QString> lookup(QStringView name)
{
    const auto found = kFields.constFind(name.toString());
    if (found == kFields.cend())
        return std::nullopt;
    return *found;
}

} // namespace

class TemplateTextTest : public QObject
{
    Q_OBJECT

private slots:
    void fills_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("expected");

        QTest::newRow("value") << "Имя: {{Имя}}." << true << "Имя: Вера.";
        QTest::newRow("html escapes") << "{{Адрес}}" << true << "&lt;b&gt;7&lt;/b&gt; &amp; Ко &quot;А&quot;";
        QTest::newRow("plain keeps") << "{{Адрес}}" << false << "<b>7</b> & Ко \"А\"";
        QTest::newRow("unknown is empty") << "[{{Фамилия}}]" << true << "[]";
        QTest::newRow("box ticked") << "{{?Да}} личная" << true << "☒ личная";
        QTest::newRow("box clear") << "{{?Нет}}{{?Пусто}}{{?Почти}}" << true << "☐☐☐";
        QTest::newRow("section shown") << "a{{#Да}}b{{Имя}}{{/Да}}c" << true << "abВераc";
        QTest::newRow("section hidden") << "a{{#Нет}}b{{/Нет}}c" << true << "ac";
        QTest::newRow("section exact yes only") << "{{#Почти}}x{{/Почти}}" << true << "";
        QTest::newRow("inverted shown") << "{{^Нет}}x{{/Нет}}{{^Пусто}}y{{/Пусто}}" << true << "xy";
        QTest::newRow("inverted hidden") << "{{^Да}}x{{/Да}}" << true << "";
        QTest::newRow("nested") << "{{#Да}}1{{^Нет}}2{{#Пусто}}3{{/Пусто}}{{/Нет}}4{{/Да}}" << true << "124";
        QTest::newRow("open section runs to end") << "a{{#Нет}}b{{Имя}}" << true << "a";
        QTest::newRow("stray closing") << "a{{/Да}}b" << true << "ab";
        QTest::newRow("unclosed brace is text") << "a {{Имя" << true << "a {{Имя";
        QTest::newRow("two fields") << "{{Имя}}{{Имя}}" << false << "ВераВера";
        QTest::newRow("separator between filled") << "{{Имя}}, {{Имя}}" << false << "Вера, Вера";
        QTest::newRow("separator before empty") << "{{Имя}}, {{Пусто}}" << false << "Вера";
        QTest::newRow("separator after empty") << "{{Пусто}}, {{Имя}}; {{Имя}}" << false << "Вера; Вера";
        QTest::newRow("empty in the middle") << "{{Имя}}, {{Пусто}}; {{Имя}}" << false << "Вера; Вера";
        QTest::newRow("all empty") << "({{Пусто}}, {{Пусто}})" << false << "()";
        QTest::newRow("unfilled masks are empty") << "{{Дата}}, {{Номер}}, {{Имя}}" << false << "Вера";
        QTest::newRow("a dash is a value") << "{{Прочерк}}, {{Имя}}" << false << "-, Вера";
        QTest::newRow("part with caption") << "{{[}}район: {{Пусто}}{{]}}, {{[}}пункт: {{Имя}}{{]}}" << false
                                           << "пункт: Вера";
        QTest::newRow("part with unit") << "{{[}}{{Имя}} л.с.{{]}} {{[}}({{Пусто}} кВт){{]}}" << false << "Вера л.с.";
        QTest::newRow("part of text only") << "{{[}}всегда{{]}}, {{Имя}}" << false << "всегда, Вера";
        QTest::newRow("part with a box") << "{{[}}{{?Нет}} {{Пусто}}{{]}}" << false << "☐ ";
        QTest::newRow("words are no separator") << "{{Пусто}} и {{Имя}}" << false << " и Вера";
        QTest::newRow("part left open") << "a {{[}}b {{Пусто}}" << false << "a ";
    }

    void fills()
    {
        QFETCH(QString, text);
        QFETCH(bool, html);
        QFETCH(QString, expected);
        QCOMPARE(fillTemplate(text, lookup, html ? TemplateEscaping::Html : TemplateEscaping::Plain), expected);
    }

    void problems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("sound") << "{{Имя}} {{?Да}} {{#Да}}{{^Нет}}{{Адрес}}{{/Нет}}{{/Да}}" << QStringList();
        QTest::newRow("unknown") << "{{Имя}} {{Фамилия}}" << QStringList{"unknown field: Фамилия"};
        QTest::newRow("unknown box") << "{{?Флаг}}" << QStringList{"unknown field: Флаг"};
        QTest::newRow("unknown in section") << "{{#Да}}{{Отчество}}{{/Да}}" << QStringList{"unknown field: Отчество"};
        QTest::newRow("never closed") << "{{#Да}}x" << QStringList{"section never closed: Да"};
        QTest::newRow("stray closing") << "x{{/Нет}}" << QStringList{"closing without a section: Нет"};
        QTest::newRow("empty tag") << "x{{}}" << QStringList{"empty tag at 1"};
        QTest::newRow("sound part") << "{{[}}a {{Имя}}{{]}}" << QStringList();
        QTest::newRow("unknown in part") << "{{[}}{{Отчество}}{{]}}" << QStringList{"unknown field: Отчество"};
        QTest::newRow("part never closed") << "x{{[}}" << QStringList{"part never closed at 1"};
        QTest::newRow("part end alone") << "x{{]}}" << QStringList{"part end without a part at 1"};
    }

    void problems()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(templateProblems(text, lookup), expected);
    }
};

QTEST_GUILESS_MAIN(TemplateTextTest)
#include "TemplateTextTest.moc"
