#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace stolvar {

QIcon AppIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF top[] = {{32, 6}, {58, 18}, {32, 30}, {6, 18}};
    const QPointF left[] = {{6, 18}, {32, 30}, {32, 60}, {6, 48}};
    const QPointF right[] = {{32, 30}, {58, 18}, {58, 48}, {32, 60}};
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(200, 200, 195));
    p.drawPolygon(top, 4);
    p.setBrush(QColor(160, 160, 155));
    p.drawPolygon(left, 4);
    p.setBrush(QColor(125, 125, 120));
    p.drawPolygon(right, 4);
    return QIcon(pixmap);
}

} // namespace stolvar
