#include "storage/server/ServerBlankSql.h"

#include "storage/BlankJournalRules.h"
#include "storage/BlankNumbers.h"
#include "storage/PolicyColumns.h"
#include "storage/SqlNames.h"
#include "storage/server/ServerSql.h"

#include <QStringList>

namespace osago::serverBlankSql {

using sqlNames::quoted;

namespace {

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

QString recordColumn(int column)
{
    return quoted(policyColumnNames().at(column));
}

QString lastDigits(BlankKind kind)
{
    return QStringLiteral("right(%1, %2)").arg(recordColumn(blankColumn(kind))).arg(blankDigits(kind));
}

QString whereOf(const BlankFilter& filter)
{
    QStringList conditions{QStringLiteral("true")};
    int next = 1;
    const auto bound = [&] { return QStringLiteral("$%1").arg(next++); };
    if (filter.kind)
        conditions << QStringLiteral("kind = %1").arg(bound());
    if (!filter.series.isEmpty())
        conditions << QStringLiteral("series = %1").arg(bound());
    if (filter.status)
        conditions << QStringLiteral("status = %1").arg(bound());
    if (!filter.numberPart.isEmpty()) {
        conditions << QStringLiteral("strpos(lpad(number::text, CASE kind WHEN 1 THEN 6 ELSE 10 END, '0'), %1) > 0")
                          .arg(bound());
    }
    return conditions.join(QStringLiteral(" AND "));
}

} // namespace

const std::vector<QByteArray>& createTables()
{
    static const std::vector<QByteArray> statements = [] {
        std::vector<QByteArray> made{
            "CREATE TABLE IF NOT EXISTS \"BlankReceipts\" (id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
            "kind smallint NOT NULL, series text NOT NULL, first_number bigint NOT NULL, last_number bigint NOT NULL, "
            "received date NOT NULL, act text NOT NULL, note text NOT NULL)",
            "CREATE INDEX IF NOT EXISTS \"BlankReceipts_range\" ON \"BlankReceipts\" (kind, series, first_number)",
            "CREATE TABLE IF NOT EXISTS \"Blanks\" (id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, receipt bigint "
            "NOT NULL, kind smallint NOT NULL, series text NOT NULL, number bigint NOT NULL, received date NOT NULL, "
            "status smallint NOT NULL, status_date date NOT NULL, spoiled_on date, record_code text, reason text NOT "
            "NULL DEFAULT '', return_act text NOT NULL DEFAULT '')",
            "CREATE UNIQUE INDEX IF NOT EXISTS \"Blanks_number\" ON \"Blanks\" (kind, series, number)",
            "CREATE INDEX IF NOT EXISTS \"Blanks_receipt\" ON \"Blanks\" (receipt, status)",
            "CREATE INDEX IF NOT EXISTS \"Blanks_status\" ON \"Blanks\" (status)",
            "CREATE INDEX IF NOT EXISTS \"Blanks_status_date\" ON \"Blanks\" (status_date)",
            "CREATE INDEX IF NOT EXISTS \"Blanks_spoiled\" ON \"Blanks\" (spoiled_on)",
        };
        for (BlankKind kind : kBlankKinds) {
            const QString name = kRegisterTable.toString() + QStringLiteral("_blank%1").arg(int(kind));
            made.push_back(utf8(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                    .arg(quoted(name), quoted(kRegisterTable), lastDigits(kind))));
        }
        return made;
    }();
    return statements;
}

QByteArray grantAsRegister()
{
    return "DO $$ DECLARE granted record; BEGIN FOR granted IN SELECT grantee, privilege_type FROM "
           "information_schema.role_table_grants WHERE table_schema = current_schema() AND table_name = 'TableStrah' "
           "AND privilege_type IN ('SELECT', 'INSERT', 'UPDATE', 'DELETE') AND grantee <> current_user LOOP "
           "EXECUTE format('GRANT %s ON \"Blanks\", \"BlankReceipts\" TO %s', granted.privilege_type, CASE WHEN "
           "granted.grantee = 'PUBLIC' THEN 'PUBLIC' ELSE quote_ident(granted.grantee) END); END LOOP; END $$";
}

QByteArray selectTablesPresent()
{
    return "SELECT to_regclass('\"Blanks\"') IS NOT NULL AND to_regclass('\"BlankReceipts\"') IS NOT NULL";
}

QByteArray selectAnyBlank()
{
    return "SELECT EXISTS (SELECT 1 FROM \"Blanks\")";
}

namespace {

const QByteArray kReceiptColumns = "id, kind, series, first_number, last_number, received, act, note";

} // namespace

QByteArray selectOverlappingReceipt()
{
    return "SELECT " + kReceiptColumns + " FROM \"BlankReceipts\" WHERE kind = $1 AND series = $2 AND first_number <= "
           "$3 AND last_number >= $4 ORDER BY first_number LIMIT 1";
}

QByteArray insertReceipt()
{
    return "INSERT INTO \"BlankReceipts\" (kind, series, first_number, last_number, received, act, note) VALUES ($1, "
           "$2, $3, $4, $5, $6, $7) RETURNING id";
}

QByteArray insertReceivedBlanks()
{
    return "INSERT INTO \"Blanks\" (receipt, kind, series, number, received, status, status_date) SELECT $3, $4, $5, "
           "number, $6, 0, $6 FROM generate_series($1::bigint, $2::bigint) AS number";
}

QByteArray selectRecordsInRange(BlankKind kind)
{
    return utf8(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 BETWEEN $1 AND $2 ORDER BY %5")
                    .arg(recordColumn(rowCodeColumnIndex()), recordColumn(blankColumn(kind)), quoted(kRegisterTable),
                         lastDigits(kind), quoted(serverSql::kKeyColumn)));
}

QByteArray takeBlank()
{
    return "UPDATE \"Blanks\" SET status = 1, status_date = $1, record_code = $2 WHERE kind = $3 AND series = $4 AND "
           "number = $5 AND status = 0";
}

QByteArray releaseBlank()
{
    return "UPDATE \"Blanks\" SET status = $1, status_date = coalesce(nullif($2, '')::date, received), spoiled_on = "
           "nullif($2, '')::date, record_code = NULL WHERE record_code = $3 AND kind = $4 AND series = $5 AND number = "
           "$6 AND status = 1";
}

QByteArray selectReceipts()
{
    return "SELECT " + kReceiptColumns + " FROM \"BlankReceipts\" ORDER BY id";
}

QByteArray countMovedOfReceipt()
{
    return "SELECT (SELECT count(*) FROM (SELECT 1 FROM \"BlankReceipts\" WHERE id = $1 FOR UPDATE) AS locked), "
           "(SELECT count(*) FROM \"Blanks\" WHERE receipt = $1 AND status <> 0)";
}

QByteArray deleteBlanksOfReceipt()
{
    return "DELETE FROM \"Blanks\" WHERE receipt = $1";
}

QByteArray deleteReceipt()
{
    return "DELETE FROM \"BlankReceipts\" WHERE id = $1";
}

QByteArray selectExtent()
{
    // The largest id apart, from the key's index rather than the count's scan.
    return "SELECT (SELECT count(*) FROM \"Blanks\"), coalesce((SELECT max(id) FROM \"Blanks\"), 0)";
}

QByteArray selectIdsBetween(bool descending)
{
    return QByteArray("SELECT id FROM \"Blanks\" WHERE id BETWEEN $1 AND $2 ORDER BY id ")
           + (descending ? "DESC" : "ASC") + " LIMIT $3";
}

QByteArray selectIdsOf(const BlankFilter& filter)
{
    return utf8(QStringLiteral("SELECT id FROM \"Blanks\" WHERE %1 ORDER BY id").arg(whereOf(filter)));
}

QByteArray selectCountsOf(const BlankFilter& filter)
{
    return utf8(QStringLiteral("SELECT status, count(*) FROM \"Blanks\" WHERE %1 GROUP BY status").arg(whereOf(filter)));
}

QByteArray selectRows()
{
    return "SELECT b.id, b.kind, b.series, b.number, b.status, b.status_date, b.record_code, b.receipt, b.received, "
           "b.reason, b.return_act, r.act, r.note FROM \"Blanks\" b LEFT JOIN \"BlankReceipts\" r ON r.id = b.receipt "
           "WHERE b.id = ANY($1::bigint[])";
}

QByteArray selectUsers()
{
    QStringList columns;
    for (int column : blankUserColumns())
        columns << recordColumn(column);
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ANY($1::text[]) ORDER BY %4 DESC")
                    .arg(columns.join(QStringLiteral(", ")), quoted(kRegisterTable), recordColumn(rowCodeColumnIndex()),
                         quoted(serverSql::kKeyColumn)));
}

QByteArray selectUnmarkable()
{
    return "SELECT kind, series, number, status FROM \"Blanks\" WHERE id = ANY($2::bigint[]) AND NOT status = "
           "ANY($1::smallint[]) LIMIT 1";
}

QByteArray lockPresent()
{
    return "SELECT count(*) FROM (SELECT 1 FROM \"Blanks\" WHERE id = ANY($1::bigint[]) FOR UPDATE) AS locked";
}

QByteArray markBlanks()
{
    return "UPDATE \"Blanks\" SET status = $1, status_date = $2, spoiled_on = coalesce(nullif($3, '')::date, "
           "spoiled_on), reason = CASE WHEN $4::boolean THEN $5 ELSE reason END, return_act = CASE WHEN $6::boolean "
           "THEN $7 ELSE return_act END WHERE id = ANY($8::bigint[])";
}

QByteArray selectBlank()
{
    return "SELECT status, status_date, record_code FROM \"Blanks\" WHERE kind = $1 AND series = $2 AND number = $3";
}

QByteArray selectHistory()
{
    return "SELECT kind, series, number, received, status, status_date, spoiled_on, record_code FROM \"Blanks\" "
           "WHERE received <= $1 AND (status = 0 OR status_date >= $2 OR spoiled_on >= $2)";
}

QByteArray selectCopyBlock()
{
    return "SELECT id, receipt, kind, series, number, received, status, status_date, spoiled_on, record_code, reason, "
           "return_act FROM \"Blanks\" WHERE id > $1 ORDER BY id LIMIT $2";
}

QByteArray insertCopiedBlank()
{
    return "INSERT INTO \"Blanks\" (receipt, kind, series, number, received, status, status_date, spoiled_on, "
           "record_code, reason, return_act) VALUES ($1, $2, $3, $4, $5, $6, $7, nullif($8, '')::date, nullif($9, ''), "
           "$10, $11)";
}

QByteArray deleteAllBlanks()
{
    return "DELETE FROM \"Blanks\"";
}

QByteArray deleteAllReceipts()
{
    return "DELETE FROM \"BlankReceipts\"";
}

} // namespace osago::serverBlankSql
