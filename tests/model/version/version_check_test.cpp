#include "core/ProgramInfo.h"
#include "model/version/VersionCheck.h"

#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

struct VersionCase {
    const char* name;
    QByteArray page;
    QString status;
    bool box;
    QString boxText;
};

TEST(VersionCheckTest, ComparesTheAnnouncedTitle)
{
    const VersionCase cases[] = {
        {"same title", "<p>最新版本号：Stolvar2.5</p>", QStringLiteral("您当前使用的是最新版！Stolvar2.5"), false, {}},
        {"newer release", "<p>最新版本号：Stolvar2.6</p>",
         QStringLiteral("软件有新版本，请更新到最新版！Stolvar2.6"), true,
         QStringLiteral("软件有新版本:Stolvar2.6请更注意更新！")},
        {"number alone differs", "<p>最新版本号：2.5</p>", QStringLiteral("软件有新版本，请更新到最新版！2.5"),
         true, QStringLiteral("软件有新版本:2.5请更注意更新！")},
        {"first announcement wins", "<p>最新版本号：Stolvar2.5</p>\n<p>最新版本号：Stolvar2.7</p>",
         QStringLiteral("您当前使用的是最新版！Stolvar2.5"), false, {}},
        {"no announcement", "<p>版本说明</p>", {}, false, {}},
        {"empty page", "", {}, false, {}},
        {"not UTF-8", "<p>\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE\xBA\xC5\xA3\xBA" "2.6</p>", {}, false, {}},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const VersionOutcome outcome = CompareVersion(ProgramTitle(), ReadAnnouncedVersion(c.page));
        EXPECT_EQ(outcome.statusText, c.status);
        EXPECT_EQ(outcome.showBox, c.box);
        EXPECT_EQ(outcome.boxText, c.boxText);
        EXPECT_EQ(outcome.silent(), c.status.isEmpty());
    }
}

TEST(VersionCheckTest, ChecksAPageServedOverHttp)
{
    test::LocalHttpServer server;
    server.setPage("/version.html", "<html><p>最新版本号：Stolvar2.6</p></html>");
    const VersionOutcome outcome =
        CheckLatestVersion(server.url(QStringLiteral("/version.html")), ProgramTitle(), 5000);
    EXPECT_TRUE(outcome.showBox);
    EXPECT_EQ(outcome.boxText, QStringLiteral("软件有新版本:Stolvar2.6请更注意更新！"));

    EXPECT_TRUE(CheckLatestVersion(server.url(QStringLiteral("/gone.html")), ProgramTitle(), 5000).silent());
}

} // namespace
} // namespace stolvar
