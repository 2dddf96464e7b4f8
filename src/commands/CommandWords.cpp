#include "commands/CommandWords.h"

#include "storage/IssuePeriod.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <cstring>

namespace osago {

std::optional<CommandWords> parseCommandWords(const QStringList& words, bool withPeriod, QString& problem)
{
    CommandWords parsed;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool dateOption = withPeriod && (word == u"--from" || word == u"--to");
        const bool agentOption = withPeriod && word == u"--agent";
        if (word != u"--database" && !dateOption && !agentOption) {
            if (word.startsWith(u"--")) {
                problem = QStringLiteral("неизвестный параметр %1").arg(word);
                return std::nullopt;
            }
            parsed.others << word;
            continue;
        }
        if (i + 1 == words.size()) {
            problem = QStringLiteral("после %1 нужно значение").arg(word);
            return std::nullopt;
        }
        const QString& value = words[++i];
        if (word == u"--database") {
            parsed.database = value;
            continue;
        }
        if (agentOption) {
            parsed.agent = value;
            continue;
        }
        const std::optional<QDate> day = registerDate(value);
        if (!day) {
            problem = QStringLiteral("%1 %2: нужна дата ДД.ММ.ГГГГ").arg(word, value);
            return std::nullopt;
        }
        (word == u"--from" ? parsed.from : parsed.to) = day;
    }
    return parsed;
}

std::optional<PeriodCommandWords> parsePeriodCommandWords(const QStringList& words, const QString& usage,
                                                          const QStringList& endings, QString& problem)
{
    const std::optional<CommandWords> parsed = parseCommandWords(words, true, problem);
    if (!parsed)
        return std::nullopt;
    if (parsed->others.size() != 1 || !parsed->from || !parsed->to) {
        problem = usage;
        return std::nullopt;
    }
    const QString& target = parsed->others.front();
    if (std::none_of(endings.begin(), endings.end(),
                     [&](const QString& ending) { return target.endsWith(ending, Qt::CaseInsensitive); })) {
        problem = QStringLiteral("имя файла должно оканчиваться на %1 или %2")
                      .arg(endings.mid(0, endings.size() - 1).join(QStringLiteral(", ")), endings.back());
        return std::nullopt;
    }
    const IssuePeriod period{*parsed->from, *parsed->to};
    if (!period.isValid()) {
        problem = QStringLiteral("начало периода позже его конца");
        return std::nullopt;
    }
    return PeriodCommandWords{parsed->database, period, target, parsed->agent};
}

std::optional<int> runCommandIfRequested(int argc, char* argv[], const char* name, const CommandBody& body,
                                         CommandNeeds needs)
{
    if (argc < 2 || std::strcmp(argv[1], name) != 0)
        return std::nullopt;
    if (needs == CommandNeeds::Fonts && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application = needs == CommandNeeds::Fonts
        ? std::make_unique<QGuiApplication>(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("osago"));
    QCoreApplication::setOrganizationName(QStringLiteral("osago-talgrad"));
    QStringList words;
    for (int i = 2; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    QTextStream output(stdout);
    QTextStream errors(stderr);
    return body(words, output, errors);
}

} // namespace osago
