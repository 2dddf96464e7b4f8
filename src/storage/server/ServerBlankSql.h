#pragma once

#include "storage/Blanks.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace osago {

// The SQL of the blanks' journal on the server: the receipts (BlankReceipts) and one row a blank (Blanks) beside
// TableStrah, dates as the server's dates, kinds and statuses as their numbers. Values are always bound ($1...);
// a list of ids is one bound array ("{1,2,3}"), and an optional date an empty text for none.
namespace serverBlankSql {

// The tables, their indexes and the register's index of each kind's last digits; each safe to run again.
const std::vector<QByteArray>& createTables();
// Gives the desks' roles on the new tables the rights they have on TableStrah.
QByteArray grantAsRegister();
QByteArray selectTablesPresent();
QByteArray selectAnyBlank();
// The kind, series, last and first number bound: the earliest receipt sharing a number.
QByteArray selectOverlappingReceipt();
// kind, series, first, last, received, act, note; gives the id.
QByteArray insertReceipt();
// first, last, receipt, kind, series, received.
QByteArray insertReceivedBlanks();
// The code and the column of the records whose column's last digits lie between the two bound texts, oldest
// first.
QByteArray selectRecordsInRange(BlankKind kind);
// day, code, kind, series, number.
QByteArray takeBlank();
// status, spoiled day (empty: none), code, kind, series, number.
QByteArray releaseBlank();
QByteArray selectReceipts();
// Locks the receipt's row; gives whether it is there and how many of its blanks are not on hand.
QByteArray countMovedOfReceipt();
QByteArray deleteBlanksOfReceipt();
QByteArray deleteReceipt();
QByteArray selectExtent();
QByteArray selectIdsBetween(bool descending);
// The filter's parts bound in the order kind, series, status, number part, each only when given.
QByteArray selectIdsOf(const BlankFilter& filter);
QByteArray selectCountsOf(const BlankFilter& filter);
QByteArray selectRows();
// The users' columns (blankUserColumns()) of the records whose code is in the bound array, newest first.
QByteArray selectUsers();
// The statuses allowed (array), the ids (array): one blank of those ids in another status.
QByteArray selectUnmarkable();
// Locks the blanks of the bound ids and counts them.
QByteArray lockPresent();
// status, day, spoiled day (empty: kept), whether the reason is written and the reason, whether the act is
// written and the act, the ids.
QByteArray markBlanks();
QByteArray selectBlank();
// until, from.
QByteArray selectHistory();

} // namespace serverBlankSql

} // namespace osago
