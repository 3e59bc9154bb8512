#include "curing/CuringController.h"
#include "curing/LoggerImportDialog.h"
#include "curing/TransferController.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/ControllerFixture.h"
#include "support/LoggerFixtures.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

class LoggerImportTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    LoggerImportTest() : ControllerFixture(Day(2026, 12, 8, 10, 0)), curing(context, ui.curingUi),
                         controller(context, ui.curingUi, curing)
    {
        openDatabase();
        EnsureSourceColumn(*context.db);   // as the main window does on opening
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(home.file(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    void insert(const QDate& day, double mean, const QVariant& source)
    {
        Statement st(*context.db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度, 来源) VALUES (?, ?, ?, ?, ?)"));
        st.bind(1, WallTime(day)).bind(2, mean).bind(3, mean).bind(4, mean).bind(5, source);
        ASSERT_TRUE(st.run());
    }

    CuringController curing;
    TransferController controller;
};

TEST_F(LoggerImportTest, PreviewListsEachDayAndImportStoresTheTickedDaysAsLoggerRecords)
{
    // Four days at 15 minutes; the last one stops at 18:00 (18 hours).
    const QString text = QStringLiteral("序号;时间;温度(℃)\n")
        + test::LoggerLines(WallTime(QDate(2026, 12, 1)), 4 * 96 - 24, 900, QStringLiteral("%1;%2;%3"),
                            QStringLiteral("yyyy/M/d H:mm"), true);
    const QString path = writeFile(QStringLiteral("logger.csv"), EncodeGbk(text));
    insert(QDate(2026, 12, 2), 1, QStringLiteral("预报"));
    insert(QDate(2026, 12, 3), 2, QVariant());

    const LoggerPreview preview = PrepareLoggerImport(*context.db, path, context.today().date());
    ASSERT_EQ(preview.error, QString());
    const auto dialog = controller.createImportDialog(preview);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("导入温度记录"));
    const QTableWidget& table = *dialog->table();
    ASSERT_EQ(table.rowCount(), 4);
    const char* expected[4][3] = {{"2026年12月1日", "96", "新增"},
                                  {"2026年12月2日", "96", "替换预报"},
                                  {"2026年12月3日", "96", "已有手工记录（不覆盖）"},
                                  {"2026年12月4日", "72", "数据不全"}};
    const Qt::CheckState ticks[] = {Qt::Checked, Qt::Checked, Qt::Unchecked, Qt::Unchecked};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(table.item(r, 0)->text(), QString::fromUtf8(expected[r][0]));
        EXPECT_EQ(table.item(r, 1)->text(), QString::fromUtf8(expected[r][1]));
        EXPECT_EQ(table.item(r, 5)->text(), QString::fromUtf8(expected[r][2]));
        EXPECT_EQ(table.item(r, 0)->checkState(), ticks[r]) << r;
    }
    EXPECT_EQ(table.item(0, 2)->text(), QString::number(11.15, 'f', 1) + QStringLiteral("℃"));
    EXPECT_EQ(table.item(0, 3)->text(), QStringLiteral("12.3℃"));
    EXPECT_FALSE(table.item(2, 0)->flags() & Qt::ItemIsUserCheckable) << "a typed day cannot be chosen";

    dialog->importButton()->click();
    EXPECT_EQ(messages->lastText(), QStringLiteral("已导入2天温度记录。"));
    Statement st(*context.db, QStringLiteral("SELECT 养护记录, 来源, round(温度记录, 2) FROM skxx ORDER BY 养护记录"));
    QStringList rows;
    while (st.next())
        rows << st.dateTime(0).date().toString(Qt::ISODate) + QLatin1Char(' ') + st.text(1) + QLatin1Char(' ') + st.text(2);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("2026-12-01 记录仪 11.15"), QStringLiteral("2026-12-02 记录仪 11.15"),
                                 QStringLiteral("2026-12-03  2.0")}));
}

TEST_F(LoggerImportTest, UnreadableAndUnsuitableFilesGiveAClearMessage)
{
    struct Case {
        QString path;
        QString message;
    };
    const QString missing = home.file(QStringLiteral("gone.csv"));
    const Case cases[] = {
        {missing, QStringLiteral("无法读取文件：") + missing},
        {writeFile(QStringLiteral("place.csv"), "Time,Place\n2026-12-01 08:00,site A\n"), QStringLiteral("文件中没有温度列。")},
        {writeFile(QStringLiteral("empty.csv"), ""), QStringLiteral("文件中没有可读的时间和温度。")},
    };
    for (const Case& c : cases) {
        messages->fileNames << c.path;
        controller.importLoggerFile();
        settle();
        EXPECT_EQ(messages->lastText(), c.message);
    }
    EXPECT_EQ(test::CountRows(*context.db, QStringLiteral("skxx")), 0);
}


TEST_F(LoggerImportTest, DatesThatReadTwoWaysAreListedOnlyOnceTheClerkChoosesTheirOrder)
{
    QFile data(QStringLiteral(STOLVAR_TEST_DATA "/logger/ambiguous.csv"));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    const QString path = writeFile(QStringLiteral("ambiguous.csv"), data.readAll());
    insert(QDate(2026, 12, 3), 1, QVariant());

    const LoggerPreview preview = PrepareLoggerImport(*context.db, path, context.today().date());
    ASSERT_EQ(preview.error, QString());
    const auto dialog = controller.createImportDialog(preview);
    QComboBox* order = dialog->dateOrderBox();
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->objectName(), QStringLiteral("日期顺序框"));
    EXPECT_EQ(order->count(), 2);
    EXPECT_EQ(order->currentIndex(), -1) << "no order is guessed";
    EXPECT_EQ(dialog->table()->rowCount(), 0);
    EXPECT_FALSE(dialog->importButton()->isEnabled());

    order->setCurrentIndex(order->findText(QStringLiteral("日/月/年")));
    ASSERT_EQ(dialog->table()->rowCount(), 5);
    EXPECT_EQ(dialog->table()->item(0, 0)->text(), QStringLiteral("2026年12月1日"));
    EXPECT_EQ(dialog->table()->item(2, 5)->text(), QStringLiteral("已有手工记录（不覆盖）"));
    order->setCurrentIndex(order->findText(QStringLiteral("月/日/年")));
    EXPECT_EQ(dialog->table()->item(0, 0)->text(), QStringLiteral("2026年1月12日"));
    EXPECT_EQ(dialog->table()->item(2, 5)->text(), QStringLiteral("新增")) << "March 12 has no record";
    EXPECT_TRUE(dialog->importButton()->isEnabled());
    dialog->importButton()->click();
    EXPECT_EQ(messages->lastText(), QStringLiteral("已导入5天温度记录。"));
}

TEST_F(LoggerImportTest, ThePreviewNamesMissingHoursFahrenheitAndOddDates)
{
    QByteArray text = "Plot Title: 1号\nTime,Temp (°F)\n";
    for (int h = 0; h < 24; ++h)
        text += "1900-01-01 " + QByteArray::number(h) + ":00,41\n";
    for (int h = 6; h < 18; ++h)
        text += "2026-12-01 " + QByteArray::number(h) + ":00,50\n";
    const LoggerPreview preview = PrepareLoggerImport(*context.db, writeFile(QStringLiteral("f.csv"), text),
                                                      context.today().date());
    const auto dialog = controller.createImportDialog(preview);
    EXPECT_EQ(dialog->dateOrderBox(), nullptr);
    const QTableWidget& table = *dialog->table();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 5)->text(), QStringLiteral("日期异常"));
    EXPECT_EQ(table.item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(table.item(0, 2)->text(), QStringLiteral("5.0℃"));
    EXPECT_EQ(table.item(1, 5)->text(), QStringLiteral("数据不全"));
    EXPECT_EQ(table.item(1, 6)->text(), QStringLiteral("缺0–5时、18–23时"));
    EXPECT_EQ(table.item(1, 2)->text(), QStringLiteral("10.0℃"));
    const QString summary = dialog->findChild<QLabel*>()->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("已换算为摄氏度"))) << summary.toStdString();
}

TEST_F(LoggerImportTest, OneImportAtATimeAndTheReadingCanBeCancelled)
{
    // Some 20 MB: read in pieces, the progress dialog's 取消 stops it at the next one.
    const QString text = QStringLiteral("Time,Temp\n")
        + test::LoggerLines(WallTime(QDate(2026, 1, 1)), 600'000, 30, QStringLiteral("%2,%3"),
                            QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString path = writeFile(QStringLiteral("big.csv"), text.toUtf8());
    QSignalSpy running(&controller, &TransferController::importRunningChanged);
    messages->fileNames << path;
    controller.importLoggerFile();
    ASSERT_TRUE(controller.isImporting());
    ASSERT_NE(controller.importProgress(), nullptr);
    EXPECT_EQ(controller.importProgress()->objectName(), QStringLiteral("导入进度"));
    messages->fileNames << path;
    controller.importLoggerFile();
    EXPECT_EQ(messages->openRequests.size(), 1) << "a second import does not start";
    auto* cancel = controller.importProgress()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
    cancel->click();
    settle();
    EXPECT_FALSE(controller.isImporting());
    EXPECT_EQ(running.size(), 2);
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->lastText().toStdString();
    EXPECT_EQ(test::CountRows(*context.db, QStringLiteral("skxx")), 0);
}

} // namespace
} // namespace stolvar
