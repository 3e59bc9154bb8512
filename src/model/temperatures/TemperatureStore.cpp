#include "model/temperatures/TemperatureStore.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"

#include <cmath>

namespace stolvar {

namespace {

QString DateExistsText() { return QStringLiteral("日期已存在，请重新输入！"); }
QString BadDateText() { return QStringLiteral("日期格式不正确，请重新输入！例如：2008年10月01日"); }
QString BadHighText() { return QStringLiteral("最高温度不是有效的数字，请重新输入！"); }
QString BadLowText() { return QStringLiteral("最低温度不是有效的数字，请重新输入！"); }
QString HighOutOfRangeText() { return QStringLiteral("最高温度应在-60℃到60℃之间，请重新输入！"); }
QString LowOutOfRangeText() { return QStringLiteral("最低温度应在-60℃到60℃之间，请重新输入！"); }

StoreResult Refused(const QString& message)
{
    return {false, message, 0};
}

StoreResult WriteFailed(const QString& what, const QString& error)
{
    return Refused(what + error);
}

// Typed texts of one day, read and checked before anything is written.
struct TypedDay {
    QDate day;
    double high = 0;
    double low = 0;
};

bool ReadTypedDate(const QString& dateText, QDate* day)
{
    QDateTime parsed;
    if (!TryParseDateText(dateText, &parsed))
        return false;
    *day = parsed.date();
    return true;
}

QString ReadTypedDay(const QString& dateText, const QString& highText, const QString& lowText, TypedDay* out)
{
    if (!ReadTypedDate(dateText, &out->day))
        return BadDateText();
    if (!ReadTemperatureText(highText, &out->high))
        return BadHighText();
    if (!ReadTemperatureText(lowText, &out->low))
        return BadLowText();
    if (!IsPlausibleTemperature(out->high))
        return HighOutOfRangeText();
    if (!IsPlausibleTemperature(out->low))
        return LowOutOfRangeText();
    return {};
}

// Rows of the day whose source is something other than a forecast; -1 on failure.
int NonForecastRowsOn(Database& db, const QDate& day)
{
    if (!HasSourceColumn(db))
        return TemperatureRowsOn(db, day);
    Statement st(db, QStringLiteral("SELECT count(*) FROM skxx") + DayCondition()
                         + QStringLiteral(" AND (来源 IS NULL OR 来源 <> ?)"));
    BindDayRange(st, 1, day, day);
    st.bind(3, SourceText(TemperatureSource::Forecast));
    return st.next() ? int(st.integer(0)) : -1;
}

} // namespace

int TemperatureRowsOn(Database& db, const QDate& day)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM skxx") + DayCondition());
    BindDayRange(st, 1, day, day);
    if (!st.next())
        return -1;
    return int(st.integer(0));
}

double DailyMean(double high, double low)
{
    return (high + low) / 2.0;
}

bool ReadTemperatureText(const QString& text, double* value)
{
    bool ok = false;
    const double number = FoldFullWidth(text).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

bool MaximumBelowMinimum(const QString& highText, const QString& lowText)
{
    double high = 0;
    double low = 0;
    return ReadTemperatureText(highText, &high) && ReadTemperatureText(lowText, &low) && high < low;
}

StoreResult AddTemperatureRecord(Database& db, const QString& dateText, const QString& highText,
                                 const QString& lowText)
{
    TypedDay typed;
    if (const QString refusal = ReadTypedDay(dateText, highText, lowText, &typed); !refusal.isEmpty())
        return Refused(refusal);
    const QString failed = QStringLiteral("温度记录保存失败：");
    Transaction tx(db);
    if (!tx.ok())
        return WriteFailed(failed, db.lastError());
    const int existing = TemperatureRowsOn(db, typed.day);
    if (existing < 0)
        return WriteFailed(failed, db.lastError());
    if (existing > 0)
        return Refused(DateExistsText());
    QString error;
    const DayTemperatures reading{typed.day, DailyMean(typed.high, typed.low), typed.high, typed.low};
    if (!InsertDayRow(db, reading, TemperatureSource::Manual, HasSourceColumn(db), &error))
        return WriteFailed(failed, error);
    if (!tx.commit())
        return WriteFailed(failed, db.lastError());
    return {true, {}, 1};
}

StoreResult ChangeTemperatureRecord(Database& db, const QString& dateText, const QString& highText,
                                    const QString& lowText)
{
    TypedDay typed;
    if (const QString refusal = ReadTypedDay(dateText, highText, lowText, &typed); !refusal.isEmpty())
        return Refused(refusal);
    const DayTemperatures reading{typed.day, DailyMean(typed.high, typed.low), typed.high, typed.low};
    int rows = 0;
    QString error;
    if (!UpdateDayRows(db, reading, TemperatureSource::Manual, HasSourceColumn(db), &rows, &error))
        return WriteFailed(QStringLiteral("温度记录修改失败："), error);
    return {true, {}, rows};
}

StoreResult DeleteTemperatureRecord(Database& db, const QString& dateText)
{
    QDate day;
    if (!ReadTypedDate(dateText, &day))
        return Refused(BadDateText());
    Statement st(db, QStringLiteral("DELETE FROM skxx") + DayCondition());
    BindDayRange(st, 1, day, day);
    if (!st.run())
        return WriteFailed(QStringLiteral("温度记录删除失败："), st.error());
    return {true, {}, st.changes()};
}

InsertOutcome InsertDayIfMissing(Database& db, QDate day, double mean, double high, double low,
                                 TemperatureSource source)
{
    switch (StoreTemperatureDay(db, {day, mean, high, low}, source, ExistingDay::Keep)) {
    case StoreOutcome::Inserted:
        return InsertOutcome::Inserted;
    case StoreOutcome::Kept:
    case StoreOutcome::Replaced:
        return InsertOutcome::AlreadyThere;
    case StoreOutcome::Failed:
        break;
    }
    return InsertOutcome::Failed;
}

StoreOutcome StoreTemperatureDay(Database& db, const DayTemperatures& reading, TemperatureSource source,
                                 ExistingDay existing)
{
    Transaction tx(db);
    if (!tx.ok())
        return StoreOutcome::Failed;
    const int rows = TemperatureRowsOn(db, reading.day);
    if (rows < 0)
        return StoreOutcome::Failed;
    QString error;
    if (rows == 0)
        return InsertDayRow(db, reading, source, HasSourceColumn(db), &error) && tx.commit() ? StoreOutcome::Inserted
                                                                                             : StoreOutcome::Failed;
    if (existing == ExistingDay::Keep)
        return StoreOutcome::Kept;
    const int kept = NonForecastRowsOn(db, reading.day);
    if (kept != 0)
        return kept > 0 ? StoreOutcome::Kept : StoreOutcome::Failed;
    int changed = 0;
    return UpdateDayRows(db, reading, source, HasSourceColumn(db), &changed, &error) && tx.commit() ? StoreOutcome::Replaced
                                                                          : StoreOutcome::Failed;
}

QDateTime LastTemperatureDay(Database& db)
{
    Statement st(db, QStringLiteral("SELECT 养护记录 FROM skxx ORDER BY id DESC LIMIT 1"));
    return st.next() ? st.dateTime(0) : QDateTime();
}

QVector<TemperatureRecord> LoadTemperatureWindow(const Database& db, const QDateTime& from, const QDateTime& to,
                                                 QString* error)
{
    QVector<TemperatureRecord> records;
    Statement st(db, QStringLiteral("SELECT ") + TemperatureColumns(HasSourceColumn(db)) + QStringLiteral(" FROM skxx")
                         + DayCondition() + QStringLiteral(" ORDER BY 养护记录, id"));
    BindDayRange(st, 1, from.date(), to.date());
    while (st.next()) {
        if (HasUsableMean(st))
            records.append(ReadTemperature(st));
    }
    if (!st.ok()) {
        records.clear();
        if (error)
            *error = st.error();
    }
    return records;
}


} // namespace stolvar
