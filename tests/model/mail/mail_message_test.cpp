#include "model/mail/MailMessage.h"

#include "core/Conversions.h"
#include "core/Gbk.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Decodes "=?gb2312?B?…?=" words joined by "\r\n " back to text.
QString DecodeWords(const QByteArray& encoded, int* words)
{
    QByteArray gbk;
    *words = 0;
    for (const QByteArray& word : encoded.split('\n')) {
        const QByteArray w = word.trimmed();
        EXPECT_TRUE(w.startsWith("=?gb2312?B?") && w.endsWith("?=")) << w.constData();
        const QByteArray base64 = w.mid(11, w.size() - 13);
        EXPECT_LE(base64.size(), 62);
        gbk += QByteArray::fromBase64(base64);
        ++*words;
    }
    return DecodeGbk(gbk);
}

TEST(EncodeHeaderText, SplitsIntoWordsOfAtMost62Base64Characters)
{
    const struct {
        QString text;
        int words;
    } cases[] = {
        {QString(22, QChar(u'试')), 1},  // 44 GBK bytes: 60 Base64 characters
        {QString(23, QChar(u'试')), 2},  // 46 bytes would take 64
        {QStringLiteral("您有试块将于2024年5月29日到期，请做好送检准备。"), 2},
        {QString(100, QChar(u'块')), 8},
        {QStringLiteral("王"), 1},
    };
    for (const auto& c : cases) {
        const QByteArray encoded = EncodeHeaderText(c.text);
        int words = 0;
        EXPECT_EQ(DecodeWords(encoded, &words), c.text);
        EXPECT_EQ(words, c.words) << encoded.constData();
        EXPECT_EQ(encoded.count("\r\n "), c.words - 1);
    }
    EXPECT_EQ(EncodeHeaderText(QStringLiteral("Reminder 2024")), QByteArray("Reminder 2024"));
}

// A character outside the basic plane is two UTF-16 units. Where the split falls between
// them, each half alone would become a "?" of its own; the pair stays in one word and
// becomes one "?" (GBK has no form for it).
TEST(EncodeHeaderText, NeverSplitsACharacterOutsideTheBasicPlane)
{
    const QString before(21, QChar(u'试'));
    const QString after(21, QChar(u'块'));
    const QString text = before + QString::fromUcs4(U"\U00020000") + after;
    ASSERT_EQ(text.size(), 44);
    ASSERT_TRUE(text[22].isLowSurrogate());   // where the halving would cut
    int words = 0;
    EXPECT_EQ(DecodeWords(EncodeHeaderText(text), &words), before + u'?' + after);
    EXPECT_EQ(words, 2);
}

TEST(FormatMailDate, WritesEnglishNamesAndTheOffset)
{
    const QDateTime t = WallTime(QDate(2024, 5, 7), QTime(9, 5, 3));
    EXPECT_EQ(FormatMailDate(t, 8 * 3600), QByteArray("Tue, 07 May 2024 09:05:03 +0800"));
    EXPECT_EQ(FormatMailDate(t, -(3 * 3600 + 30 * 60)), QByteArray("Tue, 07 May 2024 09:05:03 -0330"));
    EXPECT_EQ(FormatMailDate(WallTime(QDate(2023, 12, 31), QTime(23, 59, 59)), 0),
              QByteArray("Sun, 31 Dec 2023 23:59:59 +0000"));
}

TEST(EncodeBody, WritesGbkBase64InLinesOf76)
{
    const QString body = QString(200, QChar(u'温')) + QStringLiteral("℃\r\n") + QString(3, QChar(u'x'));
    const QByteArray encoded = EncodeBody(body);
    ASSERT_TRUE(encoded.endsWith("\r\n"));
    QList<QByteArray> lines = encoded.split('\n');
    lines.removeLast();  // after the final "\r\n"
    QByteArray joined;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWith('\r'));
        const QByteArray line = lines[i].chopped(1);
        EXPECT_EQ(line.size() == 76, i + 1 < lines.size() || line.size() == 76) << i;
        EXPECT_LE(line.size(), 76);
        joined += line;
    }
    EXPECT_EQ(QByteArray::fromBase64(joined), EncodeGbk(body));
    EXPECT_EQ(DecodeGbk(QByteArray::fromBase64(joined)), body);
    EXPECT_TRUE(EncodeBody(QString()).isEmpty());
}

MailHeader SampleHeader()
{
    MailHeader h;
    h.from = {QString(), QStringLiteral("materials@example.com")};
    h.replyTo = h.from;
    h.to = {{QStringLiteral("王工"), QStringLiteral("wang@x.cn")}, {QString(), QStringLiteral("b@x.cn")},
            {QStringLiteral("Li"), QStringLiteral("li@x.cn")}};
    h.subject = QStringLiteral("Due");
    h.localTime = WallTime(QDate(2024, 5, 7), QTime(9, 5, 3));
    h.utcOffsetSeconds = 8 * 3600;
    return h;
}

TEST(BuildHeaderBlock, WritesTheLinesInOrder)
{
    MailHeader h = SampleHeader();
    EXPECT_EQ(BuildHeaderBlock(h, QStringLiteral("plain text")),
              QByteArray("From: materials@example.com\r\n"
                         "To: =?gb2312?B?zfW5pA==?= <wang@x.cn>,b@x.cn,Li <li@x.cn>\r\n"
                         "Subject: Due\r\n"
                         "Date: Tue, 07 May 2024 09:05:03 +0800\r\n"
                         "Reply-To: materials@example.com\r\n"
                         "MIME-Version: 1.0\r\n"
                         "Content-type: text/plain; charset=\"us-ascii\"\r\n"
                         "Content-Transfer-Encoding: base64\r\n\r\n"));
    h.cc = {{QString(), QStringLiteral("cc@x.cn")}};
    const QByteArray withCopy = BuildHeaderBlock(h, QStringLiteral("工程名称"));
    EXPECT_TRUE(withCopy.contains("li@x.cn>\r\nCc: cc@x.cn\r\nSubject: Due\r\n"));
    EXPECT_TRUE(withCopy.contains("charset=\"gb2312\"\r\n"));
}

TEST(BuildMailData, KeepsLineBreaksOutOfHeaders)
{
    MailHeader h = SampleHeader();
    EXPECT_FALSE(BuildMailData(h, QStringLiteral("x")).isEmpty());
    h.subject = QStringLiteral("Due\r\nBcc: evil@x.cn");
    EXPECT_TRUE(BuildMailData(h, QStringLiteral("x")).isEmpty());
    h = SampleHeader();
    h.to[1].name = QStringLiteral("A\nB");
    EXPECT_TRUE(BuildMailData(h, QStringLiteral("x")).isEmpty());
}

} // namespace
} // namespace stolvar
