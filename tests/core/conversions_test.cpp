#include "core/Conversions.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

QDateTime At(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return WallTime(QDate(y, m, d), QTime(hh, mm, ss));
}

struct DateCase {
    const char* text;
    QDateTime expected;   // invalid: the empty date
};

TEST(ParseDateText, ReadsEveryWrittenForm)
{
    const DateCase cases[] = {
        {"2008年10月01日", At(2008, 10, 1)},
        {"2008-10-1", At(2008, 10, 1)},
        {"2008/10/01", At(2008, 10, 1)},
        {"2008.10.1", At(2008, 10, 1)},
        {"20081001", At(2008, 10, 1)},
        {"２００８－１０－０１", At(2008, 10, 1)},          // full-width digits and hyphens
        {"2017年3月5日10时30分", At(2017, 3, 5, 10, 30)},
        {"2017年3月5日10时0分5秒", At(2017, 3, 5, 10, 0, 5)},
        {"2017-3-5 10:30:15", At(2017, 3, 5, 10, 30, 15)},
        {"2017-3-5 10:30:15秒 und mehr", At(2017, 3, 5, 10, 30, 15)},
        {"100-1-1", At(100, 1, 1)},
        {"9999-12-31", At(9999, 12, 31)},
        {"2016-2-29", At(2016, 2, 29)},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(ParseDateText(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(ParseDateText, RefusesWhatIsNoRealDate)
{
    const char* const invalid[] = {
        "2017-2-30", "2017-13-1", "2017-0-1", "2017-1-0", "2017-2-29", "abc", "", "99-1-1",
        "2017-3-5 24:00", "2017-3-5 10:60", "2017-3-5x", "2017-3-5 10:30:15 x", "年月日",
    };
    for (const char* text : invalid) {
        QDateTime parsed;
        EXPECT_FALSE(TryParseDateText(QString::fromUtf8(text), &parsed)) << text;
        EXPECT_TRUE(IsEmptyDate(ParseDateText(QString::fromUtf8(text)))) << text;
    }
    EXPECT_EQ(FormatSqlDate(ParseDateText(QStringLiteral("2017-2-30"))), QStringLiteral("100-1-1"));
}

TEST(ParseNumberText, TakesTheLeadingNumber)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"25.5", 25.5}, {"２５．５", 25.5}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"-3", -3},
        {"－３", -3}, {"−3", -3}, {" 7", 7}, {"+4.25", 4.25}, {".5", 0.5}, {"5.", 5},
        {"1e3", 1000}, {"1e", 1}, {"1e+", 1}, {"-", 0}, {"1e999", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseNumberText(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_EQ(TruncateToInt(-0.4), 0);
    EXPECT_EQ(TruncateToInt(2.9), 2);
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    EXPECT_EQ(TruncateToInt(1e300), std::numeric_limits<int>::max());
}

TEST(FormatDates, LongSqlAndShortForms)
{
    EXPECT_EQ(FormatLongDate(At(2017, 3, 5)), QStringLiteral("2017年3月5日"));
    EXPECT_EQ(FormatLongDate(At(2017, 3, 5, 10, 30)), QStringLiteral("2017年3月5日10时30分"));
    EXPECT_EQ(FormatLongDate(At(2017, 3, 5, 10, 0, 5)), QStringLiteral("2017年3月5日10时0分5秒"));
    EXPECT_EQ(FormatLongDate(At(2017, 3, 5, 10)), QStringLiteral("2017年3月5日10时"));
    EXPECT_EQ(FormatSqlDate(At(2017, 3, 5, 10, 30)), QStringLiteral("2017-3-5"));
    EXPECT_EQ(FormatSqlDate(At(2008, 10, 1)), QStringLiteral("2008-10-1"));
    EXPECT_EQ(FormatShortDay(At(2017, 5, 3)), QStringLiteral("5月3日"));
    // Outside 100..9999 the value is clamped before it is written.
    EXPECT_EQ(FormatSqlDate(AddDays(At(9999, 12, 31), 5)), QStringLiteral("9999-12-31"));
    EXPECT_EQ(FormatSqlDate(QDateTime()), QStringLiteral("100-1-1"));
    // A long date reads back as itself.
    EXPECT_EQ(ParseDateText(FormatLongDate(At(2017, 3, 5, 10, 0, 5))), At(2017, 3, 5, 10, 0, 5));
}

TEST(FormatNumber, SingleAndDoublePrecision)
{
    EXPECT_EQ(FormatNumber(21.7f), QStringLiteral("21.7"));
    EXPECT_EQ(FormatNumber((25.3 + 18.1) / 2), QStringLiteral("21.7"));
    EXPECT_EQ(FormatNumber(1234.567f), QStringLiteral("1234.57"));
    EXPECT_EQ(FormatNumber(600.0f), QStringLiteral("600"));
    EXPECT_EQ(FormatNumber(21.5), QStringLiteral("21.5"));
    EXPECT_EQ(FormatNumber(-3.5f), QStringLiteral("-3.5"));
    // Thirteen significant digits for a double, as the tables have always shown them.
    EXPECT_EQ(FormatNumber(1.23456789012345), QStringLiteral("1.234567890123"));
    EXPECT_EQ(FormatNumber(-98765.4321098765), QStringLiteral("-98765.43210988"));
}

TEST(DateArithmetic, WholeDaysTruncateTowardZero)
{
    EXPECT_EQ(WholeDaysBetween(At(2017, 3, 27, 10), At(2017, 3, 29)), 1);
    EXPECT_EQ(WholeDaysBetween(At(2017, 3, 28, 10), At(2017, 3, 29)), 0);
    EXPECT_EQ(WholeDaysBetween(At(2017, 3, 29, 10), At(2017, 3, 29)), 0);   // -0.4 gives 0
    EXPECT_EQ(WholeDaysBetween(At(2017, 3, 31, 10), At(2017, 3, 29)), -2);
    EXPECT_EQ(AddDays(At(2017, 2, 28, 10, 30), 1), At(2017, 3, 1, 10, 30));
}

TEST(StorageText, RoundTripsAndRefusesOtherForms)
{
    EXPECT_EQ(ToStorageText(At(2017, 3, 5, 7, 8, 9)), QStringLiteral("2017-03-05 07:08:09"));
    EXPECT_EQ(ToStorageText(At(100, 1, 1)), QStringLiteral("0100-01-01 00:00:00"));
    EXPECT_EQ(FromStorageText(QStringLiteral("2017-03-05 07:08:09")), At(2017, 3, 5, 7, 8, 9));
    EXPECT_EQ(FromStorageText(QStringLiteral("2017-03-05")), At(2017, 3, 5));
    EXPECT_FALSE(FromStorageText(QStringLiteral("2017-3-5")).isValid());
    EXPECT_FALSE(FromStorageText(QStringLiteral("2017-02-30 00:00:00")).isValid());
    EXPECT_FALSE(FromStorageText(QString()).isValid());
}

} // namespace
} // namespace stolvar
