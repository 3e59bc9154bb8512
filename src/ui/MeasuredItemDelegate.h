#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

namespace stolvar {

// What a cell's size depends on, when it shows a text alone.
struct MeasuredText {
    QFont font;
    QString text;
    int wrapWidth = -1;   // -1 when the text does not wrap
    bool operator==(const MeasuredText&) const = default;
};
size_t qHash(const MeasuredText& text, size_t seed = 0);

// An item delegate that remembers the size of every text it has measured. Fitting a list's
// columns to their contents measures each cell of each column, at every change of the list;
// a list of hundreds of groups shows mostly texts measured before (dates, grades, states).
// Cells with an icon or a check box are measured afresh each time.
class MeasuredItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // A few thousand texts at most are kept.
    static constexpr qsizetype kMaxSizes = 4096;
    mutable QHash<MeasuredText, QSize> m_sizes;
};

} // namespace stolvar
