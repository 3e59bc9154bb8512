#include "ui/MeasuredItemDelegate.h"

#include <QHashFunctions>

namespace stolvar {

size_t qHash(const MeasuredText& text, size_t seed)
{
    return qHashMulti(seed, text.font, text.text, text.wrapWidth);
}

QSize MeasuredItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (opt.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator))
        return QStyledItemDelegate::sizeHint(option, index);
    // A wrapped text's size depends on the width it wraps in as well.
    MeasuredText key{opt.font, opt.text, opt.features & QStyleOptionViewItem::WrapText ? opt.rect.width() : -1};
    if (const auto known = m_sizes.constFind(key); known != m_sizes.cend())
        return *known;
    if (m_sizes.size() >= kMaxSizes)
        m_sizes.clear();
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(std::move(key), size);
    return size;
}

} // namespace stolvar
