#pragma once

// Reads an exported workbook back with Python's openpyxl (tests/curing/read_workbook.py),
// so that the file is checked by another implementation of the format than the writer's.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

namespace stolvar::test {

struct ReadBack {
    QJsonArray sheets;
    QString error;

    QJsonObject sheet(const QString& name) const
    {
        for (const QJsonValue& s : sheets)
            if (s[QStringLiteral("name")].toString() == name)
                return s.toObject();
        return {};
    }
    QJsonValue cell(const QString& sheetName, const QString& coordinate) const
    {
        return sheet(sheetName)[QStringLiteral("cells")][coordinate];
    }
};

inline ReadBack ReadWorkbook(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(STOLVAR_TEST_DATA "/../support/read_workbook.py"), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {{}, QString::fromUtf8(python.readAllStandardError())};
    return {QJsonDocument::fromJson(python.readAllStandardOutput()).array(), {}};
}

inline QJsonObject DateCell(const char* iso)
{
    return {{QStringLiteral("date"), QString::fromLatin1(iso)},
            {QStringLiteral("format"), QStringLiteral("yyyy\"年\"m\"月\"d\"日\"")}};
}

inline QJsonObject NumberCell(double value, const QString& format = QStringLiteral("General"))
{
    return {{QStringLiteral("number"), value}, {QStringLiteral("format"), format}};
}

} // namespace stolvar::test
