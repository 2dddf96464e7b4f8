#pragma once

#include "storage/Blanks.h"
#include "storage/CommissionRate.h"
#include "storage/IssuePeriod.h"
#include "storage/PolicyRow.h"
#include "storage/RegisterCopies.h"
#include "storage/RowKey.h"
#include "storage/StorageStatus.h"
#include "storage/Utf8Rows.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace osago {

class BlankJournal;

// The rows a search picks: those whose `column` holds `word` anywhere in it, letter case ignored for Cyrillic
// as for Latin and ё taken as е; with `amongOldest` > 0, only those among that many rows from the oldest on
// (a quick first look at the top of the answer).
struct RowSelection
{
    int column = 0;
    QString word;
    int amongOldest = 0;

    friend bool operator==(const RowSelection&, const RowSelection&) = default;
};

// The number of rows of the table and its highest row id (0 for an empty table), read together so they agree.
struct TableExtent
{
    int rows = 0;
    qint64 lastId = 0;
};

enum class Walk { Up, Down };

using IndexProgress = std::function<void(int percent)>;

// What the program does while a statement of the register waits for a server's answer, called again and again on
// the waiting thread (about every kWaitHookMs) until the answer comes or the wait gives up: a program with windows
// repaints them there. Any read or write of the same register it makes meanwhile is refused as `busy`.
using WaitHook = std::function<void()>;
inline constexpr int kWaitHookMs = 40;

// The next block of rows for appendRows(): fills `rows`, given empty (123 UTF-8 texts each, in column order, a
// NULL kept as NULL); an empty block after the last row. A failure ends the copy with nothing added.
using RowBlocks = std::function<StorageStatus(Utf8Rows& rows)>;
using AppendProgress = std::function<void(qint64 rowsAdded)>;

// The register: the table TableStrah, in a SQLite file on this computer (SqliteDatabase) or on a PostgreSQL
// server shared by the agency's desks (ServerDatabase). Everything above storage works through this interface
// and never knows which engine it has. Row ids are the engine's own identity of a row (RowKey), ascending in
// the order rows were added; the grid shows rows in that order. Every write is one short transaction; none
// stays open between calls, and other programs may use the same register at the same time.
class PolicyDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };
    virtual ~PolicyDatabase() = default;

    // Opens the register at `location` (a file path, or a server's connection URI), closing any open one. A
    // register the program cannot write is opened for reading only, and isReadOnly() says why.
    virtual StorageStatus open(const QString& location, Access access = Access::ReadWrite) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The register's file; empty for a server's register.
    virtual QString path() const = 0;
    // Where the register is, in the agent's words: the file's path, or "сервер HOST:PORT, база NAME".
    virtual QString location() const = 0;
    // What the agent should hear at start although the register opened (a file register on a network share);
    // empty when nothing.
    virtual QString openWarning() const = 0;
    // Whether the way to the register is encrypted and the other end proven to be the register's server, in the
    // agent's words ("соединение зашифровано (TLS 1.3), сервер проверен"); empty for a register on this computer
    // and while no connection is open.
    virtual QString connectionSecurity() const = 0;

    // Whether the open register takes no writes, and why in words with the way out (empty when it does).
    virtual bool isReadOnly() const = 0;
    virtual QString readOnlyReason() const = 0;
    // Whether a read or write found the register damaged since it was opened; nothing is written then.
    virtual bool isDamaged() const = 0;
    // Why nothing is written into the damaged register, with the way out in this engine's words.
    virtual QString damagedReason() const = 0;

    // Adds the row under a new code (the row's own code column is ignored) and gives that code. `blanks` are
    // marked in the same transaction (see RecordBlanks): a blank to take that is no longer on hand fails the save
    // with blankTaken, nothing written.
    virtual StorageResult<QString> insert(const PolicyRow& row, const RecordBlanks& blanks) = 0;
    StorageResult<QString> insert(const PolicyRow& row) { return insert(row, RecordBlanks{}); }
    // Writes every column but the code into the row `key`, provided it still holds `asRead` (as load() or the
    // grid read it): a row another program or desk changed or deleted since is left as it is, and the failure
    // says so (rowChanged). `blanks` as for insert().
    virtual StorageStatus update(RowKey key, const PolicyRow& asRead, const PolicyRow& row,
                                 const RecordBlanks& blanks) = 0;
    StorageStatus update(RowKey key, const PolicyRow& asRead, const PolicyRow& row)
    {
        return update(key, asRead, row, RecordBlanks{});
    }
    // Deletes the row `key` on the same condition, releasing `blanks.release` in the same transaction.
    virtual StorageStatus remove(RowKey key, const PolicyRow& asRead, const RecordBlanks& blanks) = 0;
    StorageStatus remove(RowKey key, const PolicyRow& asRead) { return remove(key, asRead, RecordBlanks{}); }

    // The blanks' journal kept in this register (BlankJournal.h).
    virtual BlankJournal& blanks() = 0;
    virtual const BlankJournal& blanks() const = 0;
    // Adds every row `next` gives after the rows there, in order and with their codes as they are, in one
    // transaction: on any failure nothing is added. With `requireEmpty` a register holding rows is refused.
    // Gives the number of rows added.
    virtual StorageResult<qint64> appendRows(const RowBlocks& next, bool requireEmpty,
                                             const AppendProgress& progress) = 0;

    virtual StorageResult<PolicyRow> load(RowKey key) const = 0;
    // The first row holding `code`, a code this program gave (insert()).
    virtual StorageResult<PolicyRow> load(const QString& code) const = 0;

    // The grid's reads. Each is one statement, finished before returning; `ids` and `rows` are replaced, or
    // appended to where said, and their memory reused from one read to the next.
    virtual StorageResult<TableExtent> readTableExtent() const = 0;
    // Appends at most `limit` row ids from `lowest` to `highest`: the lowest of them in ascending order for
    // Walk::Up, the highest in descending order for Walk::Down. The ids of rows on a damaged page are given
    // where the engine still has them elsewhere (the file's order index).
    virtual StorageStatus readIdsBetween(qint64 lowest, qint64 highest, int limit, Walk walk,
                                         std::vector<qint64>& ids) const = 0;
    // Every row id, ascending.
    virtual StorageStatus readAllIds(std::vector<qint64>& ids) const = 0;
    // The ids of the rows `selection` picks, ascending.
    virtual StorageStatus readSelectedIds(const RowSelection& selection, std::vector<qint64>& ids) const = 0;
    // The ids of the rows holding `code`, ascending.
    virtual StorageStatus readIdsOfCode(const QString& code, std::vector<qint64>& ids) const = 0;
    // The 123 columns of the rows with the ascending `ids`, row i of `rows` for ids[i]; a row that is no longer
    // there stays an empty list.
    virtual StorageStatus readRows(std::span<const qint64> ids, std::vector<QStringList>& rows) const = 0;
    // readRows() past damaged pages of the register: where the rows cannot be read together, ever shorter runs
    // of them are read, down to single rows, so only the rows on a damaged page are lost. `unreadable[i]` says
    // that ids[i] could not be read (its row left an empty list), and the failure (`damaged`) is given once for
    // the whole read. A failure that is not damage (the register closed, the server gone) is given as it is,
    // every row empty and none marked.
    StorageStatus readRowsPastDamage(std::span<const qint64> ids, std::vector<QStringList>& rows,
                                     std::vector<bool>& unreadable) const;
    // The same rows as UTF-8 texts into `rows` (emptied first), in ascending id order, a row no longer there left
    // out, a NULL value as NULL: for copying many rows out of the register without making a string of every
    // value, both engines having the texts as UTF-8 already.
    virtual StorageStatus readRowsUtf8(std::span<const qint64> ids, Utf8Rows& rows) const = 0;
    // Only `columns` (in that order) of the rows whose issue date (Дата_выдачи) lies in `period`, and of every
    // row whose issue date is not a readable date, in ascending id order. An engine may give more rows than
    // that (the caller checks each date), never fewer.
    virtual StorageStatus readIssuedIn(const IssuePeriod& period, std::span<const int> columns,
                                       std::vector<QStringList>& rows) const = 0;

    // The renewals' reads. The row ids (into `ids`) and `columns` of the rows whose insurance ends (Страх_по) in
    // `period`, in ascending id order; an engine may give more rows than that (the caller checks each date), never
    // fewer. Rows whose end is not a readable date may be left out.
    virtual StorageStatus readEndingIn(const IssuePeriod& period, std::span<const int> columns,
                                       std::vector<qint64>& ids, std::vector<QStringList>& rows) const = 0;
    // Of every row whose `column` (the VIN or the registration plate) holds one of `values`: that value and its
    // start of insurance (Страх_с), in no stated order.
    virtual StorageStatus readStartsOf(int column, const QStringList& values,
                                       std::vector<QStringList>& rows) const = 0;
    // The indexes of those reads (the end of insurance, the VIN, the plate); building them reads the whole table,
    // with `progress` as below; without them both reads still answer, by reading the table.
    virtual bool hasRenewalIndexes() const = 0;
    virtual StorageStatus buildRenewalIndexes(const IndexProgress& progress) = 0;
    // How many rows end (Страх_по, a readable date) in `period` and are not renewed: no row of the same vehicle (the
    // same VIN; with a blank VIN, the same registration plate) starts (Страх_с) later than the row's own readable
    // start. The number the renewals' list has, counted by the engine without reading the rows out.
    virtual StorageResult<int> countRenewalsDue(const IssuePeriod& period) const = 0;
    // The rows of `period` that readIssuedIn() gives, only those whose agent (ФИО_агента) is `agent` exactly.
    virtual StorageStatus readIssuedByAgent(const IssuePeriod& period, const QString& agent,
                                            std::span<const int> columns, std::vector<QStringList>& rows) const = 0;
    // Each pair of issue date (Дата_выдачи) and agent (ФИО_агента, an empty one left out) of the rows issued in
    // `period`, once, as {date, agent}, in no stated order: a period of years holds far fewer of them than rows.
    // An engine may give pairs of other dates too (the caller checks each date), never fewer.
    virtual StorageStatus readAgentDaysIssuedIn(const IssuePeriod& period, std::vector<QStringList>& pairs) const = 0;
    // The agents (ФИО_агента, as written, an empty one left out) of the rows issued in `period`, sorted.
    StorageResult<QStringList> readAgentsIssuedIn(const IssuePeriod& period) const;

    // The agent's commission rates, a table of the program's own beside TableStrah: the earliest first. A register
    // made before the table has none until its first writable open (on a server, the table owner's) adds it.
    virtual StorageResult<CommissionRates> readCommissionRates() const = 0;
    // Adds a rate in one transaction; refused when a rate already starts on its day or later, so the schedule only
    // grows forward and a rate added later never changes the rates of the days before it.
    virtual StorageStatus addCommissionRate(const CommissionRate& rate) = 0;
    // Replaces the whole schedule with `rates` (a restored or copied register's) in one transaction.
    virtual StorageStatus replaceCommissionRates(const CommissionRates& rates) = 0;

    // The contains-search's index of one searched column; building it may take seconds on a large register,
    // telling `progress` the share done (0-99). Without it a search still answers correctly, by scanning.
    virtual bool hasSearchIndex(int column) const = 0;
    virtual StorageStatus buildSearchIndex(int column, const IndexProgress& progress) = 0;
    // The index that lets readIssuedIn() read only a period's rows; an engine that needs none always has it.
    // Building it reads the whole table, with `progress` as above; without it readIssuedIn() reads the table.
    virtual bool hasIssueDayIndex() const = 0;
    virtual StorageStatus buildIssueDayIndex(const IndexProgress& progress) = 0;

    // Copies of the register (see RegisterCopies.h). Why no copy can be made now, or no copy restored, as a
    // sentence for the agent; empty when it can.
    virtual QString backupRefusal() const = 0;
    virtual QString restoreRefusal() const = 0;
    // Where the register's copies go and how they are named.
    virtual CopyPlace copyPlace() const = 0;
    // Writes a copy of every row as it stood at one moment into `place`, named for `now`, checked, and on the
    // disk before it is reported or after (`onDisk`); gives the copy's path. The register's own damage is a
    // failure with `damaged` set. Other programs and desks go on writing meanwhile. May run on another thread while
    // this object serves the window's: it reads over a connection of its own.
    virtual StorageResult<QString> backup(const CopyPlace& place, const QDateTime& now, OnDisk onDisk,
                                          const BackupProgress& progress = {}) = 0;
    // Replaces every row of the register by the rows of the register file `copy`, after checking the copy and
    // keeping the rows there now as one more copy in copyPlace(); the register is opened again afterwards, so
    // whoever read it reads it again.
    virtual StorageStatus restore(const QString& copy, const QDateTime& now) = 0;

    // Opens another object on this same register, for reading only, on the thread that calls it: work off the
    // window's thread over a connection of its own. Made on this object's thread; it keeps what it needs (a
    // server's password the agent gave), so it still works after this object closed, and never asks anything.
    using ReaderOpener = std::function<StorageResult<std::unique_ptr<PolicyDatabase>>()>;
    virtual ReaderOpener readerBeside() const = 0;

    // Whether this object's open() made the register (a new file); removeMade() takes such a register away
    // again, with whatever the engine keeps beside it, when what it was made for did not happen.
    virtual bool madeByOpen() const = 0;
    virtual void removeMade() = 0;

    // Sets what runs while a statement waits for a server (see WaitHook). An engine whose statements never wait
    // for a network keeps no hook.
    virtual void setWaitHook(WaitHook hook) { static_cast<void>(hook); }

protected:
    // load(RowKey) through readRows(): the row, or `gone` when it is no longer there.
    StorageResult<PolicyRow> loadThroughReadRows(RowKey key, const StorageStatus& gone) const;
};

// Asks the agent for the server's password once a run (`prompt` names the server and the user); none when
// the agent declines.
using PasswordSource = std::function<std::optional<QString>(const QString& prompt)>;

// A register object of the engine `location` calls for, not yet open.
std::unique_ptr<PolicyDatabase> makeDatabase(const QString& location, PasswordSource askPassword = {});
// The register at `location`, opened with `access`; the failure says why it is not.
StorageResult<std::unique_ptr<PolicyDatabase>> openDatabase(const QString& location, PolicyDatabase::Access access,
                                                            PasswordSource askPassword = {});

// `database`, made and not yet open, opened at `location` with `access`; the failure says why it is not.
StorageResult<std::unique_ptr<PolicyDatabase>> openMade(std::unique_ptr<PolicyDatabase> database,
                                                        const QString& location, PolicyDatabase::Access access);

// Whether two open registers are one and the same (one file by two names, one server's table by two addresses).
bool sameRegister(const PolicyDatabase& first, const PolicyDatabase& second);

// What a command on a row says when the row is no longer what the grid or the editor read.
inline const QString kRowChangedMessage =
    QStringLiteral("Запись изменена или удалена другой программой после того, как была прочитана; ничего не "
                   "изменено. Таблица прочитана заново: проверьте запись и повторите команду.");

} // namespace osago
