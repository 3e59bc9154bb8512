#pragma once

#include <QList>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <optional>

namespace stolvar {

// Keeps every placed control at the same proportions of its parent when the window is
// resized: each control's left, top, width and height are captured as fractions of its
// parent's designed size, and re-applied (rounded to whole pixels) on every resize.
//
// Below the designed size the text shrinks with the controls (never above it), so that no
// caption is cut off in a small window.
//
// The pages of a tab widget are measured against the page area of the tab widget, not
// against their own size: a page that has never been shown still has Qt's default size,
// and would otherwise keep its controls at the wrong proportions until it is shown.
class ProportionalLayout : public QObject
{
    Q_OBJECT
public:
    // The root's size when the layout is made is its designed size.
    explicit ProportionalLayout(QWidget* root);

    // Records the fractions of every placed descendant of the root, breadth first, and
    // places them for the root's current size.
    void capture();
    // Moves every captured control to its fractions of its parent's current size.
    void apply();
    bool isCaptured() const { return m_captured; }
    qsizetype size() const { return m_entries.size(); }
    QSize designSize() const { return m_designSize; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ratios {
        double left, top, width, height;
    };
    struct Entry {
        QPointer<QWidget> widget;
        std::optional<Ratios> ratios;   // none when the parent had no area to measure
    };

    static QList<QWidget*> PlacedChildren(QWidget* parent);
    void watchPages();
    void scaleFont();

    QWidget* m_root;
    QSize m_designSize;
    QFont m_designFont;
    QList<Entry> m_entries;
    bool m_captured = false;
    bool m_applying = false;
};

} // namespace stolvar
