#include "curing/TemperatureStore.h"

#include "core/Conversions.h"
#include "db/Database.h"

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

// Day keys compare as text: every stored form of a day ("YYYY-MM-DD" alone or with a
// time) sorts at or after the bare day and before the bare next day.
QString DayKey(const QDate& day)
{
    return ToStorageText(WallTime(day)).left(10);
}

const QString& DayCondition()
{
    static const QString text = QStringLiteral(" WHERE 养护记录 >= ? AND 养护记录 < ?");
    return text;
}

Statement& BindDayRange(Statement& st, int first, const QDate& from, const QDate& to)
{
    st.bind(first, DayKey(from));
    st.bind(first + 1, DayKey(to.addDays(1)));
    return st;
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


bool InsertDay(Database& db, const QDate& day, double mean, double high, double low, QString* error)
{
    Statement st(db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    st.bindAll(WallTime(day), mean, high, low);
    if (st.run())
        return true;
    *error = st.error();
    return false;
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

bool IsPlausibleTemperature(double value)
{
    return value >= kLowestTemperature && value <= kHighestTemperature;
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
    if (!InsertDay(db, typed.day, DailyMean(typed.high, typed.low), typed.high, typed.low, &error))
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
    Statement st(db, QStringLiteral("UPDATE skxx SET 温度记录 = ?, 最高温度 = ?, 最低温度 = ?") + DayCondition());
    st.bindAll(DailyMean(typed.high, typed.low), typed.high, typed.low);
    BindDayRange(st, 4, typed.day, typed.day);
    if (!st.run())
        return WriteFailed(QStringLiteral("温度记录修改失败："), st.error());
    return {true, {}, st.changes()};
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

InsertOutcome InsertDayIfMissing(Database& db, QDate day, double mean, double high, double low)
{
    Transaction tx(db);
    if (!tx.ok())
        return InsertOutcome::Failed;
    const int existing = TemperatureRowsOn(db, day);
    if (existing != 0)
        return existing > 0 ? InsertOutcome::AlreadyThere : InsertOutcome::Failed;
    QString error;
    if (!InsertDay(db, day, mean, high, low, &error) || !tx.commit())
        return InsertOutcome::Failed;
    return InsertOutcome::Inserted;
}

QDateTime LastTemperatureDay(Database& db)
{
    Statement st(db, QStringLiteral("SELECT 养护记录 FROM skxx ORDER BY id DESC LIMIT 1"));
    return st.next() ? st.dateTime(0) : QDateTime();
}

QVector<TemperatureRecord> LoadTemperatureWindow(Database& db, const QDateTime& from, const QDateTime& to,
                                                 QString* error)
{
    QVector<TemperatureRecord> records;
    Statement st(db, QStringLiteral("SELECT ") + TemperatureColumns() + QStringLiteral(" FROM skxx")
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
