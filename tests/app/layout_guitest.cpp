#include "app/ProportionalLayout.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::MainWindowFixture;

constexpr int kTolerance = 2;

// The controls the program places on a page: named children of the page or of a group box.
QList<QWidget*> PlacedControls(QWidget* page)
{
    QList<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        if (!w->objectName().isEmpty() && (parent == page || qobject_cast<QGroupBox*>(parent)))
            controls << w;
    }
    return controls;
}

// Every control's designed rectangle in the coordinates of its page, taken before the
// window is first shown (nothing has been moved yet).
QHash<QWidget*, QRect> DesignedRects(QTabWidget* tabs)
{
    QHash<QWidget*, QRect> rects;
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        for (QWidget* w : PlacedControls(page))
            rects.insert(w, QRect(w->mapTo(page, QPoint(0, 0)), w->size()));
    }
    return rects;
}

bool Near(int actual, double expected) { return std::abs(actual - expected) <= kTolerance; }

// Checks every control of the current page: inside its parent, and at its designed
// rectangle scaled by how much the page has grown or shrunk.
void ExpectPageProportional(QTabWidget* tabs, const QHash<QWidget*, QRect>& designed, QSize designedPage,
                            const QString& when)
{
    QWidget* page = tabs->currentWidget();
    const double sx = double(page->width()) / designedPage.width();
    const double sy = double(page->height()) / designedPage.height();
    const QList<QWidget*> controls = PlacedControls(page);
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget* w : controls) {
        const QString where = when + QStringLiteral(" page ") + QString::number(tabs->currentIndex()) +
                              QStringLiteral(" ") + w->objectName();
        const QRect inParent = w->geometry();
        EXPECT_TRUE(w->parentWidget()->rect().contains(inParent))
            << where.toStdString() << " " << inParent.x() << "," << inParent.y() << " " << inParent.width() << "x"
            << inParent.height() << " in " << w->parentWidget()->width() << "x" << w->parentWidget()->height();
        const QRect d = designed.value(w);
        const QRect now(w->mapTo(page, QPoint(0, 0)), w->size());
        EXPECT_TRUE(Near(now.x(), d.x() * sx) && Near(now.y(), d.y() * sy) && Near(now.width(), d.width() * sx) &&
                    Near(now.height(), d.height() * sy))
            << where.toStdString() << " at " << now.x() << "," << now.y() << " " << now.width() << "x"
            << now.height() << ", designed " << d.x() << "," << d.y() << " " << d.width() << "x" << d.height()
            << " scaled " << sx << " × " << sy;
    }
}

// The room a caption needs inside its control, beyond the text itself.
int CaptionPadding(const QWidget* w)
{
    if (qobject_cast<const QCheckBox*>(w)) {
        return w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
    }
    if (qobject_cast<const QPushButton*>(w))
        return 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
    return 0;
}

QString CaptionOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->wordWrap() ? QString() : label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    return {};
}

// Every one-line caption of the current page is as wide as its text at least.
void ExpectCaptionsFit(QTabWidget* tabs, const QString& when)
{
    for (QWidget* w : PlacedControls(tabs->currentWidget())) {
        const QString caption = CaptionOf(w);
        if (caption.isEmpty())
            continue;
        const int needed = w->fontMetrics().horizontalAdvance(caption) + CaptionPadding(w);
        EXPECT_LE(needed, w->width()) << when.toStdString() << " " << w->objectName().toStdString() << " \""
                                      << caption.toStdString() << "\" needs " << needed;
    }
}

class LayoutAtEverySize : public ::testing::TestWithParam<int>
{
};

// Whichever page shows first, every page keeps its proportions at every window size.
TEST_P(LayoutAtEverySize, EveryPageKeepsItsProportions)
{
    const int firstPage = GetParam();
    MainWindowFixture f;
    MainWindow& w = f.start();
    QTabWidget* tabs = f.ui().frame.tabs;
    ASSERT_GE(tabs->count(), 4);
    tabs->setCurrentIndex(firstPage);
    const QHash<QWidget*, QRect> designed = DesignedRects(tabs);
    const QSize designedTabs = tabs->size();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.proportionalLayout().isCaptured(); }));
    // The page area of the tab widget at its designed size, whatever size the window had.
    const QSize designedPage = tabs->currentWidget()->size() + designedTabs - tabs->size();

    const QSize sizes[] = {{1024, 600}, {1600, 900}, {1920, 1080}, {2560, 1440}, {1366, 768}};
    for (const QSize& size : sizes) {
        w.resize(size);
        QTest::qWait(1);
        EXPECT_EQ(w.size(), size) << "the window cannot take this size";
        const QString when = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        for (int page = 0; page < 4; ++page) {
            tabs->setCurrentIndex(page);
            QTest::qWait(1);
            ExpectPageProportional(tabs, designed, designedPage, when);
            ExpectCaptionsFit(tabs, when);
        }
    }
    w.showMaximized();
    QTest::qWait(1);
    w.showNormal();
    QTest::qWait(1);
    for (int page = 3; page >= 0; --page) {
        tabs->setCurrentIndex(page);
        QTest::qWait(1);
        ExpectPageProportional(tabs, designed, designedPage, QStringLiteral("restored"));
    }
}

INSTANTIATE_TEST_SUITE_P(FirstShownPage, LayoutAtEverySize, ::testing::Values(0, 1, 2, 3));

} // namespace
} // namespace stolvar
