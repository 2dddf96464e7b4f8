#include "blanks/window/BlankJournalModel.h"

#include "storage/BlankJournal.h"
#include "storage/BlankNumbers.h"
#include "storage/IssuePeriod.h"

namespace osago {

namespace {

RowIds journalIds(const PolicyDatabase& database)
{
    const BlankJournal& journal = database.blanks();
    return RowIds(RowIds::Source{[&journal] { return journal.readExtent(); },
                                 [&journal](qint64 lowest, qint64 highest, int limit, Walk walk,
                                            std::vector<qint64>& ids) {
                                     return journal.readIdsBetween(lowest, highest, limit, walk, ids);
                                 },
                                 [&journal](std::vector<qint64>& ids) { return journal.readIds({}, ids); }},
                  RowIds::kStep);
}

QString dateText(QDate date)
{
    return date.isValid() ? registerDateText(date) : QString();
}

QString cellText(const BlankRow& blank, int column)
{
    switch (column) {
    case BlankJournalModel::Kind: return blankKindName(blank.number.kind);
    case BlankJournalModel::Series: return blank.number.series;
    case BlankJournalModel::Number: return blankNumberText(blank.number.kind, blank.number.number);
    case BlankJournalModel::Status: return blankStatusName(blank.status);
    case BlankJournalModel::StatusDate: return dateText(blank.statusDate);
    case BlankJournalModel::Holder: return blank.user.holder;
    case BlankJournalModel::Issued: return blank.user.issued;
    // A blank handed back shows the act it went by; the others the act they came by.
    case BlankJournalModel::Act: return blank.status == BlankStatus::Returned ? blank.returnAct : blank.receiptAct;
    // Why it was spoiled or lost, else the receipt's note.
    case BlankJournalModel::Note: return blank.reason.isEmpty() ? blank.note : blank.reason;
    }
    return {};
}

} // namespace

BlankJournalModel::BlankJournalModel(const PolicyDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(&database), m_ids(journalIds(database))
{
}

int BlankJournalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_ids.count();
}

int BlankJournalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BlankJournalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const std::optional<BlankRow> blank = rowAt(index.row());
    return blank ? QVariant(cellText(*blank, index.column())) : QVariant();
}

QVariant BlankJournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles = {QStringLiteral("Вид"),          QStringLiteral("Серия"),
                                       QStringLiteral("Номер"),        QStringLiteral("Состояние"),
                                       QStringLiteral("Дата"),         QStringLiteral("Страхователь"),
                                       QStringLiteral("Дата выдачи"),  QStringLiteral("Акт"),
                                       QStringLiteral("Примечание")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return titles.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags BlankJournalModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

StorageStatus BlankJournalModel::showRegister(const PolicyDatabase& database)
{
    m_database = &database;
    m_ids = journalIds(database);
    m_filter = {};
    return refresh();
}

StorageStatus BlankJournalModel::setFilter(const BlankFilter& filter)
{
    m_filter = filter;
    return refresh();
}

StorageStatus BlankJournalModel::refresh()
{
    beginResetModel();
    m_pages.clear();
    m_failureReported = false;
    const StorageStatus status =
        m_filter.showsAll() ? m_ids.readTable() : m_ids.readChosen([this](std::vector<qint64>& ids) {
            return m_database->blanks().readIds(m_filter, ids);
        });
    endResetModel();
    return status;
}

std::optional<BlankRow> BlankJournalModel::rowAt(int row) const
{
    if (row < 0 || row >= m_ids.count())
        return std::nullopt;
    const Page& shown = m_pages.page(row / kPageRows, [this](int number) { return readPage(number); });
    const std::size_t place = std::size_t(row % kPageRows);
    if (place >= shown.rows.size() || shown.rows[place].id == 0)
        return std::nullopt;
    return shown.rows[place];
}

StorageStatus BlankJournalModel::idsOf(int first, int last, std::vector<qint64>& ids) const
{
    return m_ids.range(first, last - first + 1, ids);
}

// A blank gone since the refresh (a receipt cancelled at another desk) shows as an empty row.
BlankJournalModel::Page BlankJournalModel::readPage(int number) const
{
    Page result{number, {}};
    std::vector<qint64> ids;
    StorageStatus status = m_ids.range(number * kPageRows, kPageRows, ids);
    if (status.ok)
        status = m_database->blanks().readRows(ids, result.rows);
    if (!status.ok) {
        result.rows.clear();
        if (!m_failureReported) {
            m_failureReported = true;
            emit readFailed(status.error);
        }
    }
    return result;
}

} // namespace osago
