#pragma once

#include "storage/PolicyColumns.h"
#include "storage/PolicyRow.h"
#include "grid/RegisterModel.h"
#include "storage/sqlite/SqliteDatabase.h"
#include "TestRegister.h"

#include <QLineEdit>
#include <QTest>

#include <initializer_list>
#include <utility>

namespace osago::test {

// The column the tests tag rows with: one the search never looks in.
inline const QString kTagColumn = QStringLiteral("Страхователь_имя");

// A register of the test's own (see TestRegister), opened by the program's storage, with the grid model over it.
class SearchRegister
{
public:
    SearchRegister() { m_opened = m_database->open(location()); }

    QString location() const { return m_register.location(); }
    const TestRegister& testRegister() const { return m_register; }
    const StorageStatus& opened() const { return m_opened; }
    PolicyDatabase& database() { return *m_database; }
    // The file engine, for tests about SQLite's own workings (file runs only).
    SqliteDatabase& file() { return dynamic_cast<SqliteDatabase&>(*m_database); }
    RegisterModel& model() { return m_model; }

    // Saves a row tagged `tag` with the given column texts, every other column empty.
    bool addRow(const QString& tag, std::initializer_list<std::pair<QString, QString>> values)
    {
        PolicyRow row;
        row.setValue(kTagColumn, tag);
        for (const auto& [column, text] : values)
            row.setValue(column, text);
        return m_database->insert(row).ok;
    }

    // The tags of the rows the grid shows, in grid order.
    QStringList shownTags() const
    {
        QStringList tags;
        const int column = policyColumnIndex(kTagColumn);
        for (int row = 0; row < m_model.rowCount(); ++row)
            tags << m_model.data(m_model.index(row, column)).toString();
        return tags;
    }

private:
    TestRegister m_register;
    std::unique_ptr<PolicyDatabase> m_database = m_register.makeDatabase();
    RegisterModel m_model{*m_database};
    StorageStatus m_opened;
};

// Replaces the edit's text as the agent does: everything selected, then the word typed character by character
// (QTest::keyClicks refuses Cyrillic).
inline void typeWord(QLineEdit* edit, const QString& word)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar character : word)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

} // namespace osago::test
