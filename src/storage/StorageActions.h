#pragma once

#include <QString>

namespace osago {

// What a failed register operation did not do: the first words of its message, the same for every engine.
inline const QString kSaveAction = QStringLiteral("Запись не сохранена");
inline const QString kUpdateAction = QStringLiteral("Запись не изменена");
inline const QString kRemoveAction = QStringLiteral("Запись не удалена");
inline const QString kLoadAction = QStringLiteral("Запись не прочитана");
inline const QString kOpenAction = QStringLiteral("Реестр полисов не открыт");
inline const QString kAppendAction = QStringLiteral("Записи не добавлены");
inline const QString kReadAction = QStringLiteral("Реестр не прочитан");
inline const QString kBuildAction = QStringLiteral("Указатель для поиска не построен");
inline const QString kBackupAction = QStringLiteral("Резервная копия не сделана");
inline const QString kRestoreAction = QStringLiteral("Реестр не восстановлен");
inline const QString kIssueIndexAction = QStringLiteral("Указатель дат выдачи не построен");
inline const QString kRenewalIndexAction = QStringLiteral("Указатель дат окончания договоров не построен");
inline const QString kRateAction = QStringLiteral("Ставка вознаграждения не сохранена");
inline const QString kRatesReadAction = QStringLiteral("Ставки вознаграждения не прочитаны");
// A rate not after the last one in the schedule.
inline const QString kRateNotLatest =
    QStringLiteral("уже есть ставка, действующая с этого дня или позже; новая ставка может начинаться только после "
                   "последней, чтобы не изменились отчёты за прошедшие периоды");
// Why a register opened for reading takes no writes.
inline const QString kOpenedForReading = QStringLiteral("реестр открыт только для чтения");

} // namespace osago
