#include "RegisterModel.h"

#include "PolicyColumns.h"
#include "PolicyDatabase.h"
#include "PolicySql.h"
#include "RegisterReads.h"

#include <QSqlQuery>

#include <algorithm>

namespace osago {

RegisterModel::RegisterModel(PolicyDatabase& database, QObject* parent, int idStep)
    : QAbstractTableModel(parent), m_database(database), m_ids(database, idStep)
{
}

int RegisterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_ids.count();
}

int RegisterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kPolicyColumnCount;
}

QVariant RegisterModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QStringList& row = page(index.row() / kPageRows).rows[std::size_t(index.row() % kPageRows)];
    return row.isEmpty() ? QVariant() : QVariant(row.at(index.column()));
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kPolicyColumnCount)
        return policyColumns()[std::size_t(section)].name;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RegisterModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

StorageStatus RegisterModel::refresh()
{
    // The ids are read in place between the two reset signals: no view asks for data in between.
    beginResetModel();
    m_pages.clear();
    const StorageStatus status =
        m_selection ? m_ids.readSelection(m_selection->sql, m_selection->values) : m_ids.readTable();
    m_lastError = status.error;
    endResetModel();
    return status;
}

StorageStatus RegisterModel::select(RowSelection selection)
{
    m_selection = std::move(selection);
    return refresh();
}

StorageStatus RegisterModel::selectAll()
{
    m_selection.reset();
    return refresh();
}

const RegisterModel::Page& RegisterModel::page(int number) const
{
    const auto cached = std::find_if(m_pages.begin(), m_pages.end(), [&](const Page& p) { return p.number == number; });
    if (cached != m_pages.end()) {
        cached->lastUse = ++m_useClock;
        return *cached;
    }
    if (m_pages.size() >= std::size_t(kCachedPages)) {
        const auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
                                             [](const Page& a, const Page& b) { return a.lastUse < b.lastUse; });
        m_pages.erase(oldest);
    }
    m_pages.push_back(readPage(number));
    m_pages.back().lastUse = ++m_useClock;
    return m_pages.back();
}

// A row that is gone (removed by another program since the refresh) or unreadable shows as empty cells.
RegisterModel::Page RegisterModel::readPage(int number) const
{
    const int first = number * kPageRows;
    const int count = std::min(kPageRows, m_ids.count() - first);
    Page result{number, 0, {}};
    std::vector<qint64> ids;
    StorageStatus status = m_ids.range(first, count, ids);
    if (status.ok)
        status = readRows(m_database, ids, result.rows);
    if (!status.ok)
        m_lastError = status.error;
    result.rows.resize(std::size_t(count));
    return result;
}

QString RegisterModel::codeAt(int row) const
{
    return data(index(row, rowCodeColumnIndex())).toString();
}

int RegisterModel::rowOfCode(const QString& code) const
{
    if (!m_database.isOpen())
        return -1;
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    if (!query.prepare(policySql::selectIdsByCode()))
        return -1;
    query.addBindValue(code);
    if (!query.exec())
        return -1;
    while (query.next()) {
        const int row = m_ids.rowOf(query.value(0).toLongLong());
        if (row >= 0)
            return row;
    }
    return -1;
}

} // namespace osago
