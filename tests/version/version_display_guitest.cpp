#include "core/ProgramInfo.h"
#include "ui/WidgetMessages.h"
#include "version/VersionDisplay.h"

#include "support/ControllerFixture.h"
#include "support/ScriptedMessages.h"
#include "version/VersionController.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Whoever controls the announcement page must not get markup (links, images, styled text)
// into the window: the version is shown as the characters the page holds.
const QByteArray kMarkupPage = "<p>最新版本号：<a href=\"http://x\"><b>Stolvar9</b></a><img src=\"x.png\"></p>";

TEST(VersionDisplay, TheAnnouncedVersionIsShownAsPlainText)
{
    const VersionOutcome outcome = CompareVersion(ProgramTitle(), ReadAnnouncedVersion(kMarkupPage));
    ASSERT_TRUE(outcome.showBox);
    QLabel status;
    test::ScriptedMessages messages;
    ApplyVersionOutcome(outcome, &status, messages, nullptr);
    EXPECT_EQ(status.textFormat(), Qt::PlainText);
    EXPECT_TRUE(status.text().contains(QStringLiteral("<b>Stolvar9</b>")));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("<img src=\"x.png\">")));
}

TEST(VersionDisplay, MessageBoxesNeverReadTheirTextAsMarkup)
{
    WidgetMessages messages;
    QList<Qt::TextFormat> seen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->textFormat();
            box->done(QMessageBox::No);
        }
    });
    closer.start(20);
    messages.show(nullptr, QStringLiteral("软件有新版本:<b>9</b>"), Messages::DefaultTitle(), Messages::Icon::None);
    messages.ask(nullptr, QStringLiteral("<i>?</i>"), QStringLiteral("t"), Messages::Icon::None);
    EXPECT_EQ(seen, QList<Qt::TextFormat>({Qt::PlainText, Qt::PlainText}));
}


// 下载新版本 on a desktop without a browser: the address is shown, to copy.
TEST(VersionPage, WithoutABrowserTheAddressIsShown)
{
    test::ControllerFixture f(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    f.home.settings().write(keys::kVersionPage, QStringLiteral("https://stolvar.example/version.html"));
    VersionController controller(f.context, f.ui.frame.statusParts[kVersionPart]);
    QList<QUrl> opened;
    bool browser = true;
    controller.setUrlOpener([&](const QUrl& url) {
        opened << url;
        return browser;
    });
    controller.openPage();
    EXPECT_TRUE(f.messages->shown.isEmpty());
    browser = false;
    controller.openPage();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("https://stolvar.example/version.html")));
    EXPECT_EQ(f.messages->lastText(),
              QStringLiteral("未能打开浏览器，请复制以下地址到浏览器中打开：\nhttps://stolvar.example/version.html"));
}

} // namespace
} // namespace stolvar
