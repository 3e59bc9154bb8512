#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace stolvar {

// Keeps every placed control at the same proportions of its parent when the window is
// resized: each control's left, top, width and height are captured as fractions of its
// parent's size, and re-applied (truncated to whole pixels) on every resize.
class ProportionalLayout : public QObject
{
    Q_OBJECT
public:
    explicit ProportionalLayout(QWidget* root);

    // Records the fractions of every placed descendant of the root, breadth first.
    void capture();
    // Moves every captured control to its fractions of its parent's current size.
    void apply();
    bool isCaptured() const { return m_captured; }
    qsizetype size() const { return m_entries.size(); }

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

    QWidget* m_root;
    QList<Entry> m_entries;
    bool m_captured = false;
};

} // namespace stolvar
