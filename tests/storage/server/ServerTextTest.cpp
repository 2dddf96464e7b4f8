#include "storage/server/ServerText.h"

#include <QTest>

using namespace osago;

// What the server keeps as a text: UTF-8 as RFC 3629 has it, without a NUL byte; the first byte at fault named.
class ServerTextTest : public QObject
{
    Q_OBJECT

private slots:
    void whyUnstorable_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("why");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("Latin and Cyrillic") << QByteArray("Petrov Петров Ёж") << QString();
        QTest::newRow("three and four bytes") << QByteArray("\xe2\x82\xac \xf0\x9f\x9a\x97") << QString();
        QTest::newRow("the highest code point") << QByteArray("\xf4\x8f\xbf\xbf") << QString();
        QTest::newRow("a NUL byte") << QByteArray("ab\0cd", 5) << QStringLiteral("в тексте байт NUL (на месте 3)");
        QTest::newRow("a lone continuation byte") << QByteArray("ab\x80") << QStringLiteral("0x80 на месте 3");
        QTest::newRow("a byte that leads nothing") << QByteArray("\xf8\x88\x80\x80\x80") << QStringLiteral("0xF8 на месте 1");
        QTest::newRow("cut short at the end") << QByteArray("Пет\xd1") << QStringLiteral("0xD1 на месте 7");
        QTest::newRow("cut short by an ASCII byte") << QByteArray("\xe2\x82z") << QStringLiteral("0xE2 на месте 1");
        QTest::newRow("an overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("0xC0 на месте 1");
        QTest::newRow("an overlong three bytes") << QByteArray("\xe0\x80\xaf") << QStringLiteral("0xE0 на месте 1");
        QTest::newRow("a surrogate") << QByteArray("x\xed\xa0\x80") << QStringLiteral("0xED на месте 2");
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("0xF4 на месте 1");
    }

    void whyUnstorable()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, why);
        const std::optional<QString> found = serverText::whyUnstorable(value);
        if (why.isEmpty()) {
            QVERIFY2(!found, qPrintable(found.value_or(QString())));
            return;
        }
        QVERIFY(found);
        QVERIFY2(found->contains(why), qPrintable(*found));
    }
};

QTEST_GUILESS_MAIN(ServerTextTest)
#include "ServerTextTest.moc"
