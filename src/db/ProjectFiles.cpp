#include "db/ProjectFiles.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>

namespace stolvar {

QString InvalidFileNameReason(const QString& name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20)
            return QStringLiteral("数据库名称不能包含以下字符：/ \\ : * ? \" < > | 或控制字符，请另取文件名！");
    }
    if (name == QStringLiteral(".") || name == QStringLiteral(".."))
        return QStringLiteral("数据库名称无效，请另取文件名！");
    return {};
}

CreateOutcome CreateProjectDatabaseFile(const QString& folder, const QString& name)
{
    CreateOutcome outcome;
    outcome.fileName = name + QStringLiteral(".dat");
    if (name.isEmpty()) {
        outcome.message = QStringLiteral("数据库名称不能为空！");
        return outcome;
    }
    if (const QString reason = InvalidFileNameReason(name); !reason.isEmpty()) {
        outcome.message = reason;
        return outcome;
    }
    const QString path = QDir(folder).filePath(outcome.fileName);
    if (QFile::exists(path)) {
        outcome.message = QStringLiteral("文件已经存在！不能创建，请另取文件名！");
        return outcome;
    }
    std::shared_ptr<Database> db = Database::Create(path);
    if (!db || !CreateSchema(*db)) {
        db.reset();
        QFile::remove(path);
        outcome.message = QStringLiteral("没有连接到数据库");
        return outcome;
    }
    outcome.created = true;
    outcome.message = QStringLiteral("创建") + outcome.fileName + QStringLiteral("成功！");
    return outcome;
}

} // namespace stolvar
