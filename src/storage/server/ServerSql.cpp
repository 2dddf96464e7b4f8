#include "storage/server/ServerSql.h"

#include "storage/CommissionRate.h"
#include "storage/PolicyColumns.h"
#include "storage/SqlNames.h"
#include "storage/SearchFolding.h"

#include <QStringList>

namespace osago::serverSql {

namespace {

using sqlNames::quoted;

QString table()
{
    return quoted(kRegisterTable);
}

QString key()
{
    return quoted(kKeyColumn);
}

QString columnName(int column)
{
    return quoted(policyColumnNames().at(column));
}

QString rowCode()
{
    return columnName(rowCodeColumnIndex());
}

QString rowCountColumn()
{
    return quoted(u"Число_строк");
}

QString rowCountFunction()
{
    return quoted(kRegisterTable.toString() + QStringLiteral("_count_rows"));
}

// The trigger's name and event, and the transition table it reads (none for TRUNCATE).
struct RowCountTrigger
{
    QString event;
    QString transition;
};

const RowCountTrigger kRowCountTriggers[] = {
    {QStringLiteral("INSERT"), QStringLiteral("NEW TABLE AS added")},
    {QStringLiteral("DELETE"), QStringLiteral("OLD TABLE AS removed")},
    {QStringLiteral("TRUNCATE"), QString()},
};

QString rowCountTriggerName(const RowCountTrigger& trigger)
{
    return kRegisterTable.toString() + QStringLiteral("_count_") + trigger.event.toLower();
}

QString placeholders(int first, int count)
{
    QStringList marks;
    for (int n = first; n < first + count; ++n)
        marks << QStringLiteral("$%1").arg(n);
    return marks.join(QStringLiteral(", "));
}

QString folded(const QString& text, Folding folding)
{
    const QString collated = folding == Folding::Icu ? text + QStringLiteral(" COLLATE ") + quoted(kFoldingCollation) : text;
    return QStringLiteral("translate(lower(%1), 'ё', 'е')").arg(collated);
}

QString foldedColumn(int column)
{
    return quoted(foldedColumnName(column));
}

QString isLong(int column, bool longText)
{
    return QStringLiteral("octet_length(%1) %2 %3")
        .arg(foldedColumn(column), longText ? QStringLiteral(">=") : QStringLiteral("<"))
        .arg(kLongFoldedBytes);
}

// strpos, unlike LIKE, is no operator of the trigram index: the planner cannot take that index for a word it
// gives no trigram to.
QString containsCondition(int column, SearchPath path, Folding folding)
{
    switch (path) {
    case SearchPath::KeyOrder: return QStringLiteral("strpos(%1, $1) > 0").arg(foldedColumn(column));
    case SearchPath::Trigrams: return foldedColumn(column) + QStringLiteral(" LIKE '%' || $1 || '%'");
    case SearchPath::Expression: break;
    }
    return folded(columnName(column), folding) + QStringLiteral(" LIKE '%' || $1 || '%'");
}

} // namespace

// Issue dates every calendar has (a 29 February, a day 00 or a year before 1000 may not be readable): only
// rows holding one of these can be left out for lying outside the period. Written without backslashes, so that
// it reads the same as an SQL literal whatever the server's escaping of strings.
QByteArray sureDatePattern()
{
    return QByteArrayLiteral("^((0[1-9]|1[0-9]|2[0-8])[.](0[1-9]|1[0-2])|(29|30)[.](0[13-9]|1[0-2])|"
                             "31[.](0[13578]|1[02]))[.][1-9][0-9]{3}$");
}

// Every date "DD.MM.YYYY" of the calendar, 29 February of the leap years and years from 0001 on included.
QByteArray readableDatePattern()
{
    return QByteArrayLiteral("^(((0[1-9]|1[0-9]|2[0-8])\\.(0[1-9]|1[0-2])|(29|30)\\.(0[13-9]|1[0-2])|31\\.(0[13578]|1[02]))"
                             "\\.([0-9]{3}[1-9]|[0-9]{2}[1-9][0-9]|[0-9][1-9][0-9]{2}|[1-9][0-9]{3})|"
                             "29\\.02\\.([0-9]{2}(0[48]|[2468][048]|[13579][26])|(0[48]|[2468][048]|[13579][26])00))$");
}

namespace {

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

} // namespace

QString foldedColumnName(int column)
{
    return QStringLiteral("Поиск_%1").arg(column + 1);
}

namespace {

QString foldedColumnDefinition(int column, Folding folding)
{
    return QStringLiteral("%1 text GENERATED ALWAYS AS (%2) STORED").arg(foldedColumn(column), folded(columnName(column), folding));
}

} // namespace

QString createTable(Folding folding)
{
    QStringList definitions;
    for (const QString& name : policyColumnNames())
        definitions << quoted(name) + QStringLiteral(" text");
    definitions << key() + QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
    for (int column : searchedColumns())
        definitions << foldedColumnDefinition(column, folding);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\n    %2\n)").arg(table(), definitions.join(QStringLiteral(",\n    ")));
}

QString codeIndexName()
{
    return kRegisterTable.toString() + QStringLiteral("_code");
}

QString createCodeIndex()
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(quoted(codeIndexName()), table(), rowCode());
}

QString createSearchExtension()
{
    return QStringLiteral("CREATE EXTENSION IF NOT EXISTS %1").arg(kSearchExtension);
}

QString searchIndexName(int column)
{
    return kRegisterTable.toString() + QStringLiteral("_search_%1").arg(column + 1);
}

QString createSearchIndex(int column, Folding folding, SearchPath over)
{
    const QString indexed = over == SearchPath::Expression ? folded(columnName(column), folding) : foldedColumn(column);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3 gin_trgm_ops)")
        .arg(quoted(searchIndexName(column)), table(), indexed);
}

QString rowCountTable()
{
    return kRegisterTable.toString() + QStringLiteral("_count");
}

// The function names the count's table with the register's own schema, and its search path holds only the
// system's: a table of the same name elsewhere (a temporary one of the writer's) is never taken for it. Without
// that table it counts nothing and lets the statement through: a save never fails for the count, which is not
// trusted then.
QStringList keepRowCount()
{
    const QString counter = quoted(rowCountTable());
    QStringList statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 bigint NOT NULL)").arg(counter, rowCountColumn()),
        QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER\n"
                       "SET search_path = pg_catalog, pg_temp AS $$\n"
                       "DECLARE\n"
                       "    counter regclass := to_regclass(format('%I.%I', TG_TABLE_SCHEMA, '%2'));\n"
                       "    change bigint;\n"
                       "BEGIN\n"
                       "    IF counter IS NULL THEN\n"
                       "        RETURN NULL;\n"
                       "    ELSIF TG_OP = 'TRUNCATE' THEN\n"
                       "        EXECUTE format('UPDATE %s SET %3 = 0', counter);\n"
                       "        RETURN NULL;\n"
                       "    ELSIF TG_OP = 'INSERT' THEN\n"
                       "        SELECT count(*) INTO change FROM added;\n"
                       "    ELSE\n"
                       "        SELECT -count(*) INTO change FROM removed;\n"
                       "    END IF;\n"
                       "    EXECUTE format('UPDATE %s SET %3 = %3 + $1', counter) USING change;\n"
                       "    RETURN NULL;\n"
                       "END\n"
                       "$$")
            .arg(rowCountFunction(), rowCountTable(), rowCountColumn()),
    };
    for (const RowCountTrigger& trigger : kRowCountTriggers) {
        const QString referencing = trigger.transition.isEmpty() ? QString() : QStringLiteral(" REFERENCING ") + trigger.transition;
        statements << QStringLiteral("CREATE OR REPLACE TRIGGER %1 AFTER %2 ON %3%4 FOR EACH STATEMENT EXECUTE FUNCTION %5()")
                          .arg(quoted(rowCountTriggerName(trigger)), trigger.event, table(), referencing, rowCountFunction());
    }
    statements << QStringLiteral("DELETE FROM %1").arg(counter)
               << QStringLiteral("INSERT INTO %1 SELECT count(*) FROM %2").arg(counter, table());
    return statements;
}

QStringList keyOrderIndexNames(int column)
{
    const QString name = kRegisterTable.toString() + QStringLiteral("_folded_%1").arg(column + 1);
    return {name, name + QStringLiteral("_long")};
}

QStringList createKeyOrderIndexes(int column)
{
    const QStringList names = keyOrderIndexNames(column);
    const QString create = QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)%4 WHERE %5");
    return {create.arg(quoted(names[0]), table(), key(), QStringLiteral(" INCLUDE (%1)").arg(foldedColumn(column)), isLong(column, false)),
            create.arg(quoted(names[1]), table(), key(), QString(), isLong(column, true))};
}

namespace {

QString script(const QStringList& statements)
{
    return statements.join(QStringLiteral(";\n")) + QStringLiteral(";\n");
}

QStringList searchIndexes()
{
    QStringList statements{createSearchExtension()};
    for (int column : searchedColumns())
        statements << createSearchIndex(column, Folding::Icu, SearchPath::Trigrams) << createKeyOrderIndexes(column);
    return statements;
}

} // namespace

QString schemaScript()
{
    return script(QStringList{createTable(Folding::Icu), createCodeIndex()} + keepRowCount() + createCommissionTable()
                  + searchIndexes());
}

QString foldedColumnsScript()
{
    QStringList additions;
    QStringList statements;
    for (int column : searchedColumns()) {
        additions << QStringLiteral("ADD COLUMN IF NOT EXISTS ") + foldedColumnDefinition(column, Folding::Icu);
        statements << QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(searchIndexName(column)));
    }
    statements.prepend(QStringLiteral("ALTER TABLE %1\n    %2").arg(table(), additions.join(QStringLiteral(",\n    "))));
    return script(statements + searchIndexes());
}

QByteArray tableName()
{
    return utf8(table());
}

QByteArray selectTableColumns()
{
    return "SELECT attname, format_type(atttypid, atttypmod), attgenerated FROM pg_attribute "
           "WHERE attrelid = to_regclass($1) AND attnum > 0 AND NOT attisdropped ORDER BY attnum";
}

QByteArray selectTableRights()
{
    return "SELECT has_table_privilege(oid, 'SELECT'), has_table_privilege(oid, 'INSERT'), "
           "has_table_privilege(oid, 'UPDATE'), has_table_privilege(oid, 'DELETE'), pg_has_role(relowner, 'USAGE') "
           "FROM pg_class WHERE oid = to_regclass($1)";
}

QByteArray selectMayCreateInSchema()
{
    return "SELECT has_schema_privilege(current_schema(), 'CREATE')";
}

QByteArray selectIndexExists()
{
    return "SELECT 1 FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
           "WHERE i.indrelid = to_regclass($1) AND c.relname = $2 AND i.indisvalid";
}

QByteArray selectExtensionExists()
{
    return utf8(QStringLiteral("SELECT 1 FROM pg_extension WHERE extname = '%1'").arg(kSearchExtension));
}

QByteArray selectCollationExists()
{
    return utf8(QStringLiteral("SELECT 1 FROM pg_collation WHERE collname = '%1'").arg(kFoldingCollation));
}

QByteArray selectServerReadOnly()
{
    return "SELECT current_setting('transaction_read_only') = 'on'";
}

QByteArray selectRowCountReadable()
{
    return utf8(QStringLiteral("SELECT has_table_privilege(oid, 'SELECT') FROM pg_class WHERE oid = to_regclass('%1')")
                    .arg(quoted(rowCountTable())));
}

namespace {

QString rowCountIsSound()
{
    QStringList names;
    for (const RowCountTrigger& trigger : kRowCountTriggers)
        names << u'\'' + rowCountTriggerName(trigger) + u'\'';
    return QStringLiteral("(SELECT count(*) FROM pg_trigger WHERE tgrelid = to_regclass('%1') AND tgname IN (%2) "
                          "AND tgfoid = to_regproc('%3') AND tgenabled IN ('O', 'A')) = %4 "
                          "AND (SELECT count(*) FROM %5) = 1")
        .arg(table(), names.join(QStringLiteral(", ")), rowCountFunction())
        .arg(std::size(kRowCountTriggers))
        .arg(quoted(rowCountTable()));
}

} // namespace

QByteArray selectRowCountSound()
{
    return utf8(QStringLiteral("SELECT ") + rowCountIsSound());
}

// Locks held to the end of the transaction, each named by a number of its own: inserts from every desk take
// the codes lock in turn, so none can give a code another is giving at the same moment; desks starting on a
// new database take the schema lock, so only the first creates the table (or its row count).
QByteArray lockCodes()
{
    return "SELECT pg_advisory_xact_lock(hashtext('osago TableStrah codes'))";
}

QByteArray lockSchema()
{
    return "SELECT pg_advisory_xact_lock(hashtext('osago TableStrah schema'))";
}

QByteArray insertUnlessCodeTaken()
{
    return utf8(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %4 = $%5)")
                    .arg(table(), sqlNames::columnList(), placeholders(1, kPolicyColumnCount), rowCode())
                    .arg(rowCodeColumnIndex() + 1));
}

QByteArray updateByKey()
{
    QStringList assignments;
    int position = 0;
    for (int column = 0; column < kPolicyColumnCount; ++column) {
        if (column != rowCodeColumnIndex())
            assignments << QStringLiteral("%1 = $%2").arg(columnName(column)).arg(++position);
    }
    return utf8(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = $%4")
                    .arg(table(), assignments.join(QStringLiteral(", ")), key())
                    .arg(position + 1));
}

QByteArray deleteByKey()
{
    return utf8(QStringLiteral("DELETE FROM %1 WHERE %2 = $1").arg(table(), key()));
}

QByteArray selectForUpdate()
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 FOR UPDATE").arg(sqlNames::columnList(), table(), key()));
}

QByteArray lockForAppend()
{
    return utf8(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table()));
}

QByteArray selectAnyRow()
{
    return utf8(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table()));
}

QByteArray copyIn()
{
    return utf8(QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table(), sqlNames::columnList()));
}

QByteArray lockWholeTable()
{
    return utf8(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table()));
}

QByteArray emptyTable()
{
    return utf8(QStringLiteral("TRUNCATE %1").arg(table()));
}

QByteArray declareCopyCursor()
{
    return utf8(QStringLiteral("DECLARE osago_copy NO SCROLL CURSOR FOR SELECT %1 FROM %2 ORDER BY %3")
                    .arg(sqlNames::columnList(), table(), key()));
}

QByteArray fetchCopyCursor()
{
    return "FETCH FORWARD 2000 FROM osago_copy";
}

QByteArray closeCopyCursor()
{
    return "CLOSE osago_copy";
}

QByteArray selectLoadDeferredIndexes()
{
    return "SELECT c.relname, pg_get_indexdef(i.indexrelid) FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
           "WHERE i.indrelid = to_regclass($1) AND NOT i.indisprimary AND NOT i.indisunique";
}

QByteArray dropIndex(const QByteArray& name)
{
    return utf8(QStringLiteral("DROP INDEX %1").arg(quoted(QString::fromUtf8(name))));
}

// The highest key is the primary key's last entry; the count of the rows is a walk of the whole key, which the
// kept count spares.
QByteArray selectExtent(bool keptCount)
{
    const QString counted = QStringLiteral("(SELECT count(*) FROM %1)").arg(table());
    const QString rows = keptCount ? QStringLiteral("CASE WHEN %1 THEN (SELECT %2 FROM %3) ELSE %4 END")
                                         .arg(rowCountIsSound(), rowCountColumn(), quoted(rowCountTable()), counted)
                                   : counted;
    return utf8(QStringLiteral("SELECT %1, coalesce((SELECT max(%2) FROM %3), 0)").arg(rows, key(), table()));
}

QByteArray selectIdsBetween(bool descending)
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %1 BETWEEN $1 AND $2 ORDER BY %1 %3 LIMIT $3")
                    .arg(key(), table(), descending ? QStringLiteral("DESC") : QStringLiteral("ASC")));
}

QByteArray selectAllIds()
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(key(), table()));
}

QByteArray selectIdsByCode()
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 ORDER BY %1").arg(key(), table(), rowCode()));
}

QByteArray selectByKeys()
{
    return utf8(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 = ANY($1::bigint[]) ORDER BY %1")
                    .arg(key(), sqlNames::columnList(), table()));
}

QByteArray selectByKeyRange()
{
    return utf8(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 BETWEEN $1 AND $2 ORDER BY %1")
                    .arg(key(), sqlNames::columnList(), table()));
}

QByteArray selectByCode()
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 ORDER BY %4 LIMIT 1")
                    .arg(sqlNames::columnList(), table(), rowCode(), key()));
}

QByteArray selectContaining(int column, SearchPath path, Folding folding, bool amongOldest)
{
    const QString condition = containsCondition(column, path, folding);
    if (!amongOldest)
        return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1").arg(key(), table(), condition));
    const QString read = path == SearchPath::Expression ? columnName(column) : foldedColumn(column);
    return utf8(QStringLiteral("SELECT %1 FROM (SELECT %1, %2 FROM %3 ORDER BY %1 LIMIT $2) AS oldest WHERE %4 ORDER BY %1")
                    .arg(key(), read, table(), condition));
}

QByteArray selectFoldedContaining(int column, SearchPath path, bool longTexts)
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 AND %4 ORDER BY %1")
                    .arg(key(), table(), isLong(column, longTexts), containsCondition(column, path, Folding::Icu)));
}

namespace {

QString keyAndColumns(std::span<const int> columns)
{
    QStringList names{key()};
    for (int column : columns)
        names << columnName(column);
    return names.join(QStringLiteral(", "));
}

// A date column's text, NULL as empty; `of` qualifies the column ("t.").
QString dateText(QStringView column, const QString& of = {})
{
    return QStringLiteral("coalesce(%1, '')").arg(of + quoted(column));
}

// The date "DD.MM.YYYY" in `column` as YYYYMMDD, which sorts as the days do (other texts give other keys).
QString dayKey(QStringView column, const QString& of = {})
{
    return QStringLiteral("substr(%1, 7, 4) || substr(%1, 4, 2) || substr(%1, 1, 2)").arg(dateText(column, of));
}

// Whether a row of the same vehicle as the row `t`, found by `column` on its index, starts later than `t` does;
// $4 is readableDatePattern().
QString startsLaterBy(QStringView column)
{
    const QString name = quoted(column);
    return QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2 = t.%2 AND %3 ~ $4 AND %4 > %5)")
        .arg(table(), name, dateText(u"Страх_с"), dayKey(u"Страх_с"), dayKey(u"Страх_с", QStringLiteral("t.")));
}

const QStringView kRenewalIndexed[] = {u"Страх_по", u"VIN", u"Регистрационный_знак"};
const QStringView kRenewalIndexSuffixes[] = {u"_ending", u"_vin", u"_plate"};

} // namespace

namespace {

// The issue date as YYYYMMDD where it is a sure date, '' where it is not, so that one index serves both halves of
// a period's read. The pattern is written into the text, not bound, so that the statements match the index.
QString issueDayKey()
{
    const QString date = quoted(u"Дата_выдачи");
    return QStringLiteral("(CASE WHEN %1 ~ '%2' THEN substr(%1, 7, 4) || substr(%1, 4, 2) || substr(%1, 1, 2) "
                          "ELSE '' END)")
        .arg(date, QString::fromLatin1(sureDatePattern()));
}

QString agent()
{
    return quoted(u"ФИО_агента");
}

} // namespace

QString issueIndexName()
{
    return kRegisterTable.toString() + QStringLiteral("_issued");
}

QString createIssueIndex()
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(quoted(issueIndexName()), table(), issueDayKey());
}

QByteArray selectIssuedIn(std::span<const int> columns, bool byAgent)
{
    const QString ofAgent = byAgent ? QStringLiteral(" AND %1 = $3").arg(agent()) : QString();
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE (%3 BETWEEN $1 AND $2 OR %3 = '')%4 ORDER BY %5")
                    .arg(keyAndColumns(columns), table(), issueDayKey(), ofAgent, key()));
}

QByteArray selectAgentDaysIssuedIn()
{
    return utf8(QStringLiteral("SELECT DISTINCT %1, %2 FROM %3 WHERE %4 BETWEEN $1 AND $2 AND %2 <> ''")
                    .arg(quoted(u"Дата_выдачи"), agent(), table(), issueDayKey()));
}

QStringList renewalIndexNames()
{
    QStringList names;
    for (QStringView suffix : kRenewalIndexSuffixes)
        names << kRegisterTable.toString() + suffix.toString();
    return names;
}

QStringList createRenewalIndexes()
{
    const QStringList names = renewalIndexNames();
    // The vehicle's indexes hold the start too, so the starts are read from them alone.
    const QString start = QStringLiteral(", ") + quoted(u"Страх_с");
    const QStringList indexed{QStringLiteral("(%1)").arg(dayKey(kRenewalIndexed[0])), quoted(kRenewalIndexed[1]) + start,
                              quoted(kRenewalIndexed[2]) + start};
    QStringList statements;
    for (qsizetype i = 0; i < names.size(); ++i) {
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(quoted(names[i]), table(), indexed[i]);
    }
    return statements;
}

QByteArray selectEndingIn(std::span<const int> columns)
{
    return utf8(QStringLiteral("SELECT %1 FROM %2 WHERE %3 BETWEEN $1 AND $2 ORDER BY %4")
                    .arg(keyAndColumns(columns), table(), dayKey(u"Страх_по"), key()));
}

QByteArray countRenewalsDue()
{
    const QString blank = QStringLiteral("btrim(coalesce(t.%1, ''), $3) = ''");
    return utf8(QStringLiteral("SELECT count(*) FROM %1 AS t WHERE %2 BETWEEN $1 AND $2 AND %3 ~ $4 AND NOT (%4 ~ $4 "
                               "AND CASE WHEN NOT %5 THEN %6 WHEN NOT %7 THEN %8 ELSE false END)")
                    .arg(table(), dayKey(u"Страх_по"), dateText(u"Страх_по"), dateText(u"Страх_с", QStringLiteral("t.")),
                         blank.arg(quoted(u"VIN")), startsLaterBy(u"VIN"), blank.arg(quoted(u"Регистрационный_знак")),
                         startsLaterBy(u"Регистрационный_знак")));
}

QByteArray selectStartsOf(int column)
{
    return utf8(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 IN (SELECT jsonb_array_elements_text($1::jsonb))")
                    .arg(columnName(column), quoted(u"Страх_с"), table()));
}

namespace {

QString rates()
{
    return quoted(kCommissionTable);
}

QByteArray ratesSql(const char* pattern)
{
    return utf8(QString::fromUtf8(pattern)
                    .replace(QStringLiteral("%1"), rates())
                    .replace(QStringLiteral("%2"), quoted(kCommissionFromColumn))
                    .replace(QStringLiteral("%3"), quoted(kCommissionRateColumn)));
}

} // namespace

QStringList createCommissionTable()
{
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 date PRIMARY KEY, %3 integer NOT NULL CHECK (%3 BETWEEN "
                           "0 AND %4))")
                .arg(rates(), quoted(kCommissionFromColumn), quoted(kCommissionRateColumn))
                .arg(kLargestCommission),
            QStringLiteral("GRANT SELECT ON %1 TO PUBLIC").arg(rates())};
}

QByteArray commissionTableName()
{
    return utf8(rates());
}

QByteArray selectTableExists()
{
    return "SELECT to_regclass($1) IS NOT NULL";
}

QByteArray selectCommissionRates()
{
    return ratesSql("SELECT to_char(%2, 'YYYY-MM-DD'), %3 FROM %1 ORDER BY %2");
}

QByteArray lockCommissionRates()
{
    return ratesSql("LOCK TABLE %1 IN EXCLUSIVE MODE");
}

QByteArray insertCommissionRateIfLatest()
{
    return ratesSql("INSERT INTO %1 (%2, %3) SELECT $1::date, $2::integer WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE %2 "
                    ">= $1::date)");
}

QByteArray insertCommissionRate()
{
    return ratesSql("INSERT INTO %1 (%2, %3) VALUES ($1::date, $2::integer)");
}

QByteArray deleteCommissionRates()
{
    return ratesSql("DELETE FROM %1");
}

} // namespace osago::serverSql
