// How a logger file is read: timestamps, date orders, streaming, the plan of odd days.
#include "model/logger/LoggerFile.h"
#include "model/logger/LoggerImport.h"

#include <QIODevice>

#include <malloc.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

TEST(LoggerTimestamp, ReadsTheShapesLoggersWrite)
{
    struct Case {
        const char* text;
        DateOrder order;
        QDate day;
        int hour;
    };
    const Case good[] = {
        {"12/01/26 01:00:00 PM", DateOrder::MonthDayYear, {2026, 12, 1}, 13},
        {"12/01/26 12:00:00 AM", DateOrder::MonthDayYear, {2026, 12, 1}, 0},
        {"12/01/26 12:30:00 PM", DateOrder::MonthDayYear, {2026, 12, 1}, 12},
        {"01/12/2026 11:59 pm", DateOrder::DayMonthYear, {2026, 12, 1}, 23},
        {"2026年12月1日 8:00", DateOrder::MonthDayYear, {2026, 12, 1}, 8},
        {"2026年12月1日08:00:00", DateOrder::DayMonthYear, {2026, 12, 1}, 8},
        {"2026-12-01 08:00:00.123", DateOrder::MonthDayYear, {2026, 12, 1}, 8},
        {"01.12.2026 17:45", DateOrder::DayMonthYear, {2026, 12, 1}, 17},
    };
    for (const Case& c : good) {
        QDate day;
        int hour = -1;
        EXPECT_TRUE(ReadLoggerTimestamp(QString::fromUtf8(c.text), &day, &hour, c.order)) << c.text;
        EXPECT_EQ(day, c.day) << c.text;
        EXPECT_EQ(hour, c.hour) << c.text;
    }
    for (const char* bad : {"13:00:00 PM", "12/01/26 00:30 AM", "2026年13月1日 8:00", "2026年12月1日",
                            "12/01/26 13:00", "2026-12-01 08:00:00.", "1.5", "12/01/2026 08:00 XM"}) {
        QDate day;
        int hour = -1;
        EXPECT_FALSE(ReadLoggerTimestamp(QString::fromUtf8(bad), &day, &hour)) << bad;
    }
    const auto afternoon = ParseLoggerStamp(u"下午 1:05:00");
    ASSERT_TRUE(afternoon);
    EXPECT_FALSE(afternoon->hasDate);
    EXPECT_EQ(afternoon->secondOfDay, 13 * 3600 + 300);
}

QByteArray DayFirstLines(int fromDay, int toDay)
{
    QByteArray text;
    for (int d = fromDay; d <= toDay; ++d) {
        for (int h = 0; h < 24; ++h)
            text += QStringLiteral("%1/12/2026 %2:00,%3\n").arg(d, 2, 10, QLatin1Char('0')).arg(h).arg(d).toLatin1();
    }
    return text;
}

TEST(LoggerDateOrder, AFirstFieldAboveTwelveAnywhereDecides)
{
    // Twelve ambiguous days, then one that can only be day first: every day is read so.
    const LoggerFile dayFirst = ReadLoggerFile(DayFirstLines(1, 13));
    EXPECT_EQ(dayFirst.orders, QVector<DateOrder>{DateOrder::DayMonthYear});
    ASSERT_EQ(dayFirst.days.size(), 13);
    EXPECT_EQ(dayFirst.days.front().day, QDate(2026, 12, 1));
    EXPECT_DOUBLE_EQ(dayFirst.days.front().mean, 1.0);

    // A second field above 12: month first.
    const LoggerFile monthFirst = ReadLoggerFile("Time,Temp\n12/01/2026 08:00,1\n12/13/2026 08:00,2\n");
    EXPECT_EQ(monthFirst.orders, QVector<DateOrder>{DateOrder::MonthDayYear});
    EXPECT_EQ(monthFirst.days.back().day, QDate(2026, 12, 13));

    // Two-digit years could stand first too: all three orders are offered.
    const LoggerFile twoDigit = ReadLoggerFile("Time,Temp\n11/10/26 08:00 AM,1\n");
    EXPECT_EQ(twoDigit.orders.size(), 3);

    // Dates that fit no single order: the order that reads most of them, the rest skipped.
    const LoggerFile mixed = ReadLoggerFile(DayFirstLines(13, 14) + "12/25/2026 08:00,5\n");
    EXPECT_EQ(mixed.orders, QVector<DateOrder>{DateOrder::DayMonthYear});
    EXPECT_EQ(mixed.readings, 48);
    EXPECT_EQ(mixed.skipped, 1);
}

TEST(LoggerLayout, DateAndTimeColumnsWithoutAHeaderAndOddLineEnds)
{
    // No header: a date and a time in fields of their own are found by their content;
    // lines end in CR alone, as old spreadsheets write them.
    QByteArray text;
    for (int h = 0; h < 24; ++h)
        text += "A7," + QByteArray::number(2026) + "/12/01," + QByteArray::number(h) + ":30," + QByteArray::number(h) + "\r";
    const LoggerFile file = ReadLoggerFile(text);
    ASSERT_EQ(file.error, QString());
    ASSERT_EQ(file.days.size(), 1);
    EXPECT_EQ(file.days[0].hours, 24);
    EXPECT_DOUBLE_EQ(file.days[0].mean, 11.5);

    // A line longer than any reading (a broken export) is cut, skipped and counted.
    const QByteArray longLine = "Time,Temp\n2026-12-01 08:00,1\n" + QByteArray(100'000, '7')
        + "\n2026-12-01 09:00,3\n";
    const LoggerFile cut = ReadLoggerFile(longLine);
    EXPECT_EQ(cut.readings, 2);
    EXPECT_EQ(cut.skipped, 1);
}

// A logger file of any length, made while it is read: nothing of it exists at once.
class GeneratedLoggerFile : public QIODevice
{
public:
    explicit GeneratedLoggerFile(int lines) : m_lines(lines) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        qint64 written = 0;
        while (written < maxSize) {
            if (m_pending.isEmpty()) {
                if (m_next == m_lines)
                    break;
                const int second = m_next * 30;
                const QDate day = QDate(2026, 1, 1).addDays(second / 86400);
                char line[64];
                const int n = std::snprintf(line, sizeof line, "%d,%04d-%02d-%02d %02d:%02d:%02d,%.1f\n", m_next + 1,
                                            day.year(), day.month(), day.day(), second / 3600 % 24, second / 60 % 60,
                                            second % 60, 5 + second % 86400 / 36000.0);
                m_pending = QByteArray(line, n);
                ++m_next;
            }
            const qint64 n = std::min<qint64>(maxSize - written, m_pending.size());
            memcpy(data + written, m_pending.constData(), size_t(n));
            m_pending.remove(0, n);
            written += n;
        }
        return written;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int m_lines;
    int m_next = 0;
    QByteArray m_pending;
};

qint64 HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

TEST(LoggerStreaming, MemoryStaysTheSameWhateverTheLengthAndTheReadingCanStop)
{
    // 250,000 lines (7.7 MB of text, 87 days): read whole, the heap would hold the text
    // and its lines several times over.
    GeneratedLoggerFile generated(250'000);
    const qint64 before = HeapInUse();
    qint64 peak = 0;
    int pieces = 0;
    const LoggerFile file = ReadLoggerFile(generated, [&](qint64) {
        ++pieces;
        peak = std::max(peak, HeapInUse() - before);
        return true;
    });
    EXPECT_EQ(file.readings, 250'000);
    EXPECT_EQ(file.skipped, 0);
    ASSERT_EQ(file.days.size(), 87);   // 250,000 × 30 s = 86.8 days
    EXPECT_EQ(file.days[0].readings, 2880);
    EXPECT_GE(pieces, 7);
    EXPECT_LT(peak, 6 << 20) << "heap growth while reading: " << peak;

    GeneratedLoggerFile stopped(250'000);
    int calls = 0;
    const LoggerFile cancelled = ReadLoggerFile(stopped, [&](qint64) { return ++calls < 3; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.error, LoggerCancelledText());
    EXPECT_TRUE(cancelled.days.isEmpty());
    EXPECT_EQ(calls, 3);
}

TEST(LoggerPlan, DaysBefore2000OrAfterNextYearAreUntickedAsOddDates)
{
    QByteArray text = "Time,Temp\n";
    for (const char* day : {"1900-01-01", "1999-12-31", "2026-12-01", "2027-12-31", "2028-01-01", "9999-12-31"}) {
        for (int h = 0; h < 24; ++h)
            text += QByteArray(day) + ' ' + QByteArray::number(h) + ":00,5\n";
    }
    const LoggerFile file = ReadLoggerFile(text);
    ASSERT_EQ(file.days.size(), 6);
    const QVector<LoggerPreviewRow> rows = PlanLoggerRows(file.days, {}, QDate(2026, 12, 8));
    const bool plausible[] = {false, false, true, true, false, false};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rows[i].plan == DayPlan::DateOutOfRange, !plausible[i]) << i;
        EXPECT_EQ(rows[i].ticked, plausible[i]) << i;
        EXPECT_EQ(rows[i].selectable, plausible[i]) << i;
    }
    EXPECT_EQ(PlanText(rows[0].plan), QStringLiteral("日期异常"));
}

} // namespace
} // namespace stolvar
