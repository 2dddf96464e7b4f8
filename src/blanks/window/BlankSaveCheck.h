#pragma once

#include "storage/Blanks.h"

#include <QDate>

#include <optional>

class QWidget;

namespace osago {

class Messages;
class PolicyDatabase;
class PolicyRow;

// The blanks' part of saving or deleting a record, once any blank was received into the register. Each of the
// record's numbers not left empty is checked: one on hand is taken by the record in its own transaction; one not
// received, used by another record, spoiled, lost or handed back is named with its reason under the question
// "Сохранить запись всё равно?" (No by default), and saving anyway leaves it as it is. A blank the record held
// and no longer holds (changed to another number, or the record deleted) is asked about: "Бланк … испорчен?".
// Nothing when the agent answers No to saving, or the journal cannot be read (said over `over`).
struct BlankSaveQuestions
{
    Messages& messages;
    QWidget* over = nullptr;
    QDate today;

    // `row` as it is to be saved; `stored` the row it changes (none for a new record); `code` the record's code
    // (empty for a new one).
    std::optional<RecordBlanks> forSave(const PolicyDatabase& database, const PolicyRow& row,
                                        const std::optional<PolicyRow>& stored, const QString& code) const;
    std::optional<RecordBlanks> forRemoval(const PolicyDatabase& database, const PolicyRow& stored,
                                           const QString& code) const;
};

// Why a number cannot simply be taken, as the question names it: "бланк не поступал", "бланк уже использован в
// записи: Иванов Иван Иванович, дата выдачи 15.01.2024", "бланк испорчен 03.02.2024", ...; empty for a number on
// hand or this record's own.
QString blankRefusalReason(const BlankCheck& check);

inline const QString kSaveAnywayQuestion = QStringLiteral("Сохранить запись всё равно?");

} // namespace osago
