#include "db/Records.h"

#include "db/Database.h"

namespace stolvar {

namespace {

std::optional<float> OptionalSingle(const Statement& st, int column)
{
    if (st.isNull(column))
        return std::nullopt;
    return float(st.real(column));
}

struct SourceName {
    TemperatureSource source;
    const char16_t* text;
};

constexpr SourceName kSourceNames[] = {
    {TemperatureSource::Manual, u"手工"},
    {TemperatureSource::Forecast, u"预报"},
    {TemperatureSource::Observed, u"实况"},
    {TemperatureSource::Logger, u"记录仪"},
};

} // namespace

QString SourceText(TemperatureSource source)
{
    for (const SourceName& name : kSourceNames) {
        if (name.source == source)
            return QString::fromUtf16(name.text);
    }
    return QString::fromUtf16(kSourceNames[0].text);
}

TemperatureSource SourceFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const SourceName& name : kSourceNames) {
        if (trimmed == QString::fromUtf16(name.text))
            return name.source;
    }
    return TemperatureSource::Manual;
}

QString GroupColumns()
{
    return QStringLiteral("id, 工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, 标养组数, 同养组数, 拆模组数");
}

QString TemperatureColumns()
{
    return QStringLiteral("id, 养护记录, 温度记录, 最高温度, 最低温度");
}

QString TemperatureColumns(bool withSource)
{
    return withSource ? TemperatureColumns() + QStringLiteral(", 来源") : TemperatureColumns();
}

SpecimenGroup ReadGroup(const Statement& st)
{
    SpecimenGroup g;
    g.id = st.integer(0);
    g.project = st.text(1);
    g.position = st.text(2);
    g.grade = st.text(3);
    g.castingDate = st.dateTime(4);
    g.standardState = st.text(5);
    g.sameState = st.text(6);
    g.standardCount = st.text(7);
    g.sameCount = st.text(8);
    g.formCount = st.text(9);
    return g;
}

TemperatureRecord ReadTemperature(const Statement& st)
{
    TemperatureRecord r;
    r.id = st.integer(0);
    r.day = st.dateTime(1);
    r.mean = OptionalSingle(st, 2);
    r.high = OptionalSingle(st, 3);
    r.low = OptionalSingle(st, 4);
    if (st.columnCount() > 5)
        r.source = SourceFromText(st.text(5));
    return r;
}

} // namespace stolvar
