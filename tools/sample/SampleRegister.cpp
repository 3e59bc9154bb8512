#include "sample/SampleRegister.h"

#include "core/Clock.h"
#include "core/Conversions.h"
#include "core/SettingsStore.h"
#include "db/Database.h"
#include "db/ResultsSchema.h"
#include "db/Schema.h"
#include "model/mail/MailSettings.h"
#include "model/register/GroupStore.h"
#include "model/strength/TestResults.h"
#include "model/temperatures/TemperatureStore.h"
#include "sample/SampleResults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstdlib>

namespace stolvar {

namespace {

SampleResult Failed(const QString& message)
{
    SampleResult r;
    r.message = message;
    return r;
}

bool InsertGroups(Database& db, const QVector<SpecimenGroup>& groups, QString* error)
{
    const QString sql = QStringLiteral("INSERT INTO gcxx (工程名称, 工程部位, 强度等级, 取样日期, 标养状态, 同养状态, "
                                       "标养组数, 同养组数, 拆模组数) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const SpecimenGroup& g : groups) {
        Statement st(db, sql);
        st.bindAll(g.project, g.position, g.grade, g.castingDate, g.standardState, g.sameState, g.standardCount,
                   g.sameCount, g.formCount);
        if (!st.run()) {
            *error = st.error();
            return false;
        }
    }
    return true;
}

bool InsertDays(Database& db, const QVector<SampleDay>& days, QString* error)
{
    const QString sql = QStringLiteral("INSERT INTO skxx (养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)");
    for (const SampleDay& d : days) {
        Statement st(db, sql);
        st.bindAll(WallTime(d.day), DailyMean(d.high, d.low), d.high, d.low);
        if (!st.run()) {
            *error = st.error();
            return false;
        }
    }
    return true;
}

// The groups were inserted in order into a new table: their ids follow that order.
bool InsertResults(Database& db, const QVector<SampleGroupResults>& results, QString* error)
{
    QVector<qint64> ids;
    Statement st(db, QStringLiteral("SELECT id FROM gcxx ORDER BY id"));
    while (st.next())
        ids.append(st.integer(0));
    for (const SampleGroupResults& r : results) {
        *error = ReplaceGroupResults(db, ids.value(r.group), r.results, r.formRequirement);
        if (!error->isEmpty())
            return false;
    }
    return st.ok();
}

// All rows in one transaction: a failure leaves the tables empty.
std::shared_ptr<Database> WriteDatabase(const QString& path, const SamplePlan& plan,
                                        const QVector<SampleGroupResults>& results, QString* error)
{
    auto db = Database::Create(path, error);
    if (!db || !CreateSchema(*db, error) || !EnsureResultsSchema(*db, error))
        return nullptr;
    Transaction tx(*db);
    if (!tx.ok() || !InsertGroups(*db, plan.groups, error) || !InsertDays(*db, plan.days, error)
        || !InsertResults(*db, results, error) || !tx.commit()) {
        if (error->isEmpty())
            *error = db->lastError();
        return nullptr;
    }
    return db;
}

// The tree lists each project followed by its positions; the node index counts them all.
// The position chosen is the one cast nearest to 40 days ago, so that the same-condition
// table opens with a good stretch of days.
int SelectedNodeIndex(const Database& db, const SamplePlan& plan, const QDate& today)
{
    QHash<QString, QDate> cast;
    for (const SpecimenGroup& g : plan.groups)
        cast.insert(g.project + u'\n' + g.position, g.castingDate.date());
    const QDate wanted = today.addDays(-40);
    int index = 0, best = 1;
    qint64 bestDistance = -1;
    for (const ProjectNode& project : LoadProjectTree(db)) {
        ++index;
        for (const QString& position : project.positions) {
            const qint64 distance = std::abs(cast.value(project.name + u'\n' + position).daysTo(wanted));
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = index;
            }
            ++index;
        }
    }
    return best;
}

bool WriteSettings(const QString& folder, const QString& databasePath, int selectedNode)
{
    const SettingsStore s(QDir(folder).filePath(QStringLiteral("Temp.ini")));
    // Window white for the tree and the reminder boxes, light grey behind the day labels.
    return s.write(keys::kDatabaseFile, databasePath) && s.write(keys::kTreeSelection, QString::number(selectedNode))
           && s.write(keys::kLeadDays, QString::number(kSampleLeadDays))
           && s.write(keys::kColour1, QStringLiteral("16777215")) && s.write(keys::kColour2, QStringLiteral("16777215"))
           && s.write(keys::kColour3, QStringLiteral("15790320"));
}

} // namespace

QString SampleDatabaseName()
{
    return QStringLiteral("样例工程.dat");
}

SampleResult WriteSampleRegister(const QString& folder, SampleSize size, quint32 seed, QDate today)
{
    if (!today.isValid())
        today = Clock().today().date();
    const QString dbPath = QDir(folder).absoluteFilePath(SampleDatabaseName());
    if (QFileInfo::exists(dbPath))
        return Failed(QStringLiteral("样例数据库已存在，不会覆盖：%1").arg(dbPath));
    if (!QDir().mkpath(folder))
        return Failed(QStringLiteral("无法创建文件夹：%1").arg(folder));

    const SamplePlan plan = PlanSampleRegister(size, seed, today);
    QString error;
    const auto db = WriteDatabase(dbPath, plan, PlanSampleResults(plan, seed, today), &error);
    if (!db) {
        QFile::remove(dbPath);
        return Failed(QStringLiteral("样例数据库写入失败：%1").arg(error));
    }
    LoadMailSettings(QDir(folder).filePath(QStringLiteral("help")), &error);
    if (!error.isEmpty())
        return Failed(QStringLiteral("邮箱设置文件写入失败：%1").arg(error));
    if (!WriteSettings(folder, dbPath, SelectedNodeIndex(*db, plan, today)))
        return Failed(QStringLiteral("Temp.ini 写入失败：%1").arg(folder));
    return {true, {}, dbPath, plan.projects, int(plan.groups.size()), int(plan.days.size())};
}

} // namespace stolvar
