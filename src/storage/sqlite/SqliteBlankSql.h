#pragma once

#include "storage/Blanks.h"
#include "storage/sqlite/SqliteSql.h"

#include <QString>

#include <vector>

namespace osago {

// The SQL of the blanks' journal in a register file: the receipts (BlankReceipts) and one row a blank (Blanks),
// dates as "YYYY-MM-DD", kinds and statuses as their numbers. Values are always bound.
namespace sqliteBlankSql {

// The tables and their indexes, each statement safe to run again.
const std::vector<QString>& createTables();
// The register's index of the last digits of a kind's column, which finds the records holding a received range.
const sqliteSql::Index& recordNumberIndex(BlankKind kind);

QString selectTablesPresent();
QString selectAnyBlank();
// The receipts of the bound kind and series whose range meets the bound first and last number, lowest first.
QString selectOverlappingReceipt();
QString insertReceipt();
// One blank for each number from the bound first to the bound last, on hand: first, last, receipt, kind,
// series, the received day twice.
QString insertReceivedBlanks();
// rowid, code and the column of the records whose column's last digits lie between the two bound texts, oldest
// first.
QString selectRecordsInRange(BlankKind kind);
// Marks the blank of the bound kind, series, number used by the bound code on the bound day, if on hand.
QString takeBlank();
// status, status_date, spoiled_on, then code, kind, series, number: releases a blank used by that code.
QString releaseBlank();
QString selectReceipts();
// Whether the bound receipt is there, and how many of its blanks (the same id bound again) are not on hand.
QString countMovedOfReceipt();
QString deleteBlanksOfReceipt();
QString deleteReceipt();
QString selectExtent();
QString selectIdsBetween(bool descending);
// The ids of the blanks the filter's parts pick (kind, series, status, a part of the number: bound in that
// order, each only when given).
QString selectIdsOf(const BlankFilter& filter);
QString selectCountsOf(const BlankFilter& filter);
// The blanks with the bound ids, `count` of them.
QString selectRows(int count);
// The users' columns (blankUserColumns()) of the records with `count` bound codes.
QString selectUsers(int count);
// The status and the first bound statuses: `count` ids after them.
QString selectUnmarkable(int statuses, int count);
QString countPresent(int count);
// A mark's status, status_date, spoiled_on (kept when null), reason (kept when null), return_act (kept when
// null), then `count` ids.
QString markBlanks(int count);
QString selectBlank();
// Blanks received up to the bound day that are on hand, or moved on or after the other bound day (bound twice).
QString selectHistory();

} // namespace sqliteBlankSql

} // namespace osago
