#include "core/PatternMatcher.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

struct CountCase {
    const char* name;
    QString pattern;
    QString subject;
    bool caseSensitive;
    bool multiLine;
    bool global;
    int count;
    QString first;
};

TEST(PatternMatcherTest, CountsMatchesUnderEachFlag)
{
    const CountCase cases[] = {
        {"no match", QStringLiteral("xyz"), QStringLiteral("abc"), false, true, true, 0, {}},
        {"case folded by default", QStringLiteral("abc"), QStringLiteral("xABCx"), false, true, true, 1, QStringLiteral("ABC")},
        {"case kept when asked", QStringLiteral("abc"), QStringLiteral("xABCx"), true, true, true, 0, {}},
        {"dot stops at line feed", QStringLiteral("a.b"), QStringLiteral("a\nb"), false, true, true, 0, {}},
        {"caret at line start", QStringLiteral("^b"), QStringLiteral("a\nb"), false, true, true, 1, QStringLiteral("b")},
        {"caret at text start only", QStringLiteral("^b"), QStringLiteral("a\nb"), false, false, true, 0, {}},
        {"all matches", QStringLiteral("a\\d"), QStringLiteral("a1 a2 a3"), false, true, true, 3, QStringLiteral("a1")},
        {"first match only", QStringLiteral("a\\d"), QStringLiteral("a1 a2 a3"), false, true, false, 1, QStringLiteral("a1")},
        {"lazy", QStringLiteral("<.*?>"), QStringLiteral("<b>x</b>"), false, true, true, 2, QStringLiteral("<b>")},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        PatternMatcher m;
        ASSERT_TRUE(m.Search(c.pattern, c.subject, c.caseSensitive, c.multiLine, c.global));
        EXPECT_EQ(m.MatchCount(), c.count);
        EXPECT_EQ(m.MatchText(1), c.first);
    }
}

TEST(PatternMatcherTest, QuoteMarkerStandsForDoubleQuote)
{
    PatternMatcher m;
    ASSERT_TRUE(m.Search(QStringLiteral("a#引号b"), QStringLiteral("xa\"by"), false, true, true, true));
    EXPECT_EQ(m.MatchText(1), QStringLiteral("a\"b"));
    EXPECT_EQ(m.GetPattern(), QStringLiteral("a\"b"));

    ASSERT_TRUE(m.Search(QStringLiteral("a#引号b"), QStringLiteral("xa\"by")));
    EXPECT_EQ(m.MatchCount(), 0);
}

TEST(PatternMatcherTest, ReadsTheAnnouncedVersionGroup)
{
    PatternMatcher m;
    ASSERT_TRUE(m.Search(QStringLiteral("(最新版本号\\：(.*?))</p>"),
                         QStringLiteral("<p>最新版本号：2.6</p>\r\n<p>最新版本号：2.7</p>")));
    EXPECT_EQ(m.MatchCount(), 2);
    EXPECT_EQ(m.SubMatchCount(), 2);
    EXPECT_EQ(m.SubMatchText(1, 2), QStringLiteral("2.6"));
    EXPECT_EQ(m.SubMatchText(1, 1), QStringLiteral("最新版本号：2.6"));
    EXPECT_EQ(m.SubMatchText(2, 2), QStringLiteral("2.7"));
}

TEST(PatternMatcherTest, InvalidPatternFailsWithoutThrowing)
{
    PatternMatcher m;
    EXPECT_FALSE(m.Search(QStringLiteral("(a"), QStringLiteral("aaa")));
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.SubMatchCount(), 0);
    EXPECT_EQ(m.Replace(QStringLiteral("b")), QString());
}

TEST(PatternMatcherTest, OutOfRangeNumbersGiveEmptyText)
{
    PatternMatcher m;
    EXPECT_EQ(m.MatchText(1), QString());   // before any search
    ASSERT_TRUE(m.Search(QStringLiteral("(a)(x)?"), QStringLiteral("ab")));
    int position = 99;
    EXPECT_EQ(m.MatchText(0, &position), QString());
    EXPECT_EQ(position, -1);
    EXPECT_EQ(m.MatchText(2), QString());
    EXPECT_EQ(m.SubMatchText(1, 0), QString());
    EXPECT_EQ(m.SubMatchText(1, 3), QString());
    EXPECT_EQ(m.SubMatchText(1, 2, &position), QString());   // group took no part
    EXPECT_EQ(position, -1);
}

TEST(PatternMatcherTest, PositionsAreGbkByteOffsets)
{
    PatternMatcher m;
    ASSERT_TRUE(m.Search(QStringLiteral("a(b)c"), QStringLiteral("温度abc温度abc")));
    int position = -1;
    EXPECT_EQ(m.MatchText(1, &position), QStringLiteral("abc"));
    EXPECT_EQ(position, 4);
    EXPECT_EQ(m.MatchText(2, &position), QStringLiteral("abc"));
    EXPECT_EQ(position, 11);
    EXPECT_EQ(m.SubMatchText(2, 1, &position), QStringLiteral("b"));
    EXPECT_EQ(position, 12);
}

TEST(PatternMatcherTest, ReplaceUsesGroupReferences)
{
    PatternMatcher m;
    ASSERT_TRUE(m.Search(QStringLiteral("(-?\\d+)℃"), QStringLiteral("最高10℃ 最低-3℃")));
    EXPECT_EQ(m.Replace(QStringLiteral("[$1]")), QStringLiteral("最高[10] 最低[-3]"));
    ASSERT_TRUE(m.Search(QStringLiteral("(-?\\d+)℃"), QStringLiteral("最高10℃ 最低-3℃"), false, true, false));
    EXPECT_EQ(m.Replace(QStringLiteral("[$1]")), QStringLiteral("最高[10] 最低-3℃"));
}

TEST(PatternMatcherTest, CopyKeepsItsResultsWhenTheOriginalSearchesAgain)
{
    PatternMatcher original;
    ASSERT_TRUE(original.Search(QStringLiteral("b+"), QStringLiteral("abbc")));
    const PatternMatcher copy = original.Copy();
    ASSERT_TRUE(original.Search(QStringLiteral("z"), QStringLiteral("xyz")));
    EXPECT_EQ(copy.MatchText(1), QStringLiteral("bb"));
    EXPECT_EQ(copy.GetPattern(), QStringLiteral("b+"));
    EXPECT_EQ(original.MatchText(1), QStringLiteral("z"));
}

} // namespace
} // namespace stolvar
