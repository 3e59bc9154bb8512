#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace stolvar {

class Statement;

inline const QString kSent = QStringLiteral("已委托");       // specimens sent to the laboratory
inline const QString kNotSent = QStringLiteral("未委托");

// One row of gcxx: a specimen group of a project and structural position.
struct SpecimenGroup {
    qint64 id = 0;
    QString project;        // 工程名称
    QString position;       // 工程部位
    QString grade;          // 强度等级
    QDateTime castingDate;  // 取样日期; invalid when NULL
    QString standardState;  // 标养状态
    QString sameState;      // 同养状态
    QString standardCount;  // 标养组数
    QString sameCount;      // 同养组数
    QString formCount;      // 拆模组数
};

// Where the temperatures of a day came from, kept in skxx.来源: typed by the clerk, taken
// from a forecast, a weather service's analysed actual weather of a past day, or a
// temperature logger file. Rows of older files carry none and read as typed.
enum class TemperatureSource { Manual, Forecast, Observed, Logger };

QString SourceText(TemperatureSource source);         // "手工", "预报", "实况", "记录仪"
TemperatureSource SourceFromText(const QString& text); // NULL, empty or unknown text: Manual

// One row of skxx: the temperatures of one calendar day. Values are single precision;
// an old upgraded file may hold NULL maximum and minimum.
struct TemperatureRecord {
    qint64 id = 0;
    QDateTime day;              // 养护记录
    std::optional<float> mean;  // 温度记录
    std::optional<float> high;  // 最高温度
    std::optional<float> low;   // 最低温度
    TemperatureSource source = TemperatureSource::Manual;  // 来源
};

// Column lists matching the readers below.
QString GroupColumns();        // "id, 工程名称, …, 拆模组数"
QString TemperatureColumns();  // "id, 养护记录, 温度记录, 最高温度, 最低温度"
// The same with ", 来源" appended when `withSource`; ReadTemperature reads the source
// when the statement has that sixth column.
QString TemperatureColumns(bool withSource);
SpecimenGroup ReadGroup(const Statement& st);
TemperatureRecord ReadTemperature(const Statement& st);

// Text columns hold at most this many characters.
constexpr int kTextColumnWidth = 50;

} // namespace stolvar
