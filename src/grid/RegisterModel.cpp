#include "grid/RegisterModel.h"

#include "storage/PolicyColumns.h"
#include "storage/PolicyDatabase.h"

#include <algorithm>

namespace osago {

RegisterModel::RegisterModel(const PolicyDatabase& database, QObject* parent, int idStep)
    : QAbstractTableModel(parent), m_database(&database), m_ids(database, idStep)
{
    m_readAgain.setSingleShot(true);
    m_readAgain.setInterval(kWaitHookMs);
    connect(&m_readAgain, &QTimer::timeout, this, &RegisterModel::readNotReadPages);
}

StorageStatus RegisterModel::showRegister(const PolicyDatabase& database)
{
    m_database = &database;
    m_ids = RowIds(database, m_ids.step());
    m_selection.reset();
    return refresh();
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
    const Page& shown = page(index.row() / kPageRows);
    const std::size_t place = std::size_t(index.row() % kPageRows);
    if (shown.unreadable[place])
        return unreadableText();
    const QStringList& row = shown.rows[place];
    return row.isEmpty() ? QVariant() : QVariant(row.at(index.column()));
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kPolicyColumnCount)
        return policyColumnNames().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RegisterModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

StorageStatus RegisterModel::refresh()
{
    // The ids are read in place between the two reset signals. A view painting in between (while a server is
    // waited for) sees no rows: the count is emptied before the read.
    beginResetModel();
    m_pages.clear();
    m_failureReported = false;
    const StorageStatus status =
        m_selection ? m_ids.readSelection(*m_selection) : m_ids.readTable();
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
    return m_pages.page(number, [this](int wanted) { return readPage(wanted); });
}

// A row that is gone (removed by another program since the refresh) shows as empty cells; a row on a damaged
// page of the register as unreadable, the other rows of the page as they are.
RegisterModel::Page RegisterModel::readPage(int number) const
{
    const int first = number * kPageRows;
    const int count = std::max(std::min(kPageRows, m_ids.count() - first), 0);
    Page result{number, {}, {}};
    std::vector<qint64> ids;
    StorageStatus status = m_ids.range(first, count, ids);
    if (status.ok)
        status = m_database->readRowsPastDamage(ids, result.rows, result.unreadable);
    if (status.busy) {
        result.notRead = true;
        m_readAgain.start();
    } else if (!status.ok) {
        m_lastError = status.error;
        if (!m_failureReported) {
            m_failureReported = true;
            emit readFailed(status.error);
        }
    }
    result.rows.resize(std::size_t(count));
    result.unreadable.resize(std::size_t(count), false);
    return result;
}

void RegisterModel::readNotReadPages()
{
    m_pages.forget([](const Page& p) { return p.notRead; });
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

const QString& RegisterModel::unreadableText()
{
    static const QString text = QStringLiteral("‹не прочитана›");
    return text;
}

std::optional<RowKey> RegisterModel::keyAt(int row) const
{
    std::vector<qint64> ids;
    if (!m_ids.range(row, 1, ids).ok || ids.empty())
        return std::nullopt;
    return RowKey(ids.front());
}

std::optional<PolicyRow> RegisterModel::rowAt(int row) const
{
    if (row < 0 || row >= m_ids.count())
        return std::nullopt;
    const Page& shown = page(row / kPageRows);
    const std::size_t place = std::size_t(row % kPageRows);
    if (shown.unreadable[place])
        return std::nullopt;
    return PolicyRow::fromValues(shown.rows[place]);
}

int RegisterModel::rowOfKey(RowKey key) const
{
    return m_ids.rowOf(key.value());
}

QString RegisterModel::codeAt(int row) const
{
    return data(index(row, rowCodeColumnIndex())).toString();
}

int RegisterModel::rowOfCode(const QString& code) const
{
    std::vector<qint64> ids;
    if (!m_database->isOpen() || !m_database->readIdsOfCode(code, ids).ok)
        return -1;
    for (qint64 id : ids) {
        const int row = m_ids.rowOf(id);
        if (row >= 0)
            return row;
    }
    return -1;
}

} // namespace osago
