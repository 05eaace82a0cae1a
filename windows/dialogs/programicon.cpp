#include "programicon.h"

#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

namespace korvel {

namespace {

void ball(QPainter &painter, QPointF centre, qreal radius, QColor colour)
{
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    shade.setColorAt(0, colour.lighter(170));
    shade.setColorAt(1, colour.darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(centre, radius, radius);
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        painter.setPen(QPen(QColor(90, 90, 90), 2));
        painter.drawLine(QPointF(10, 10), QPointF(10, 24));
        painter.drawLine(QPointF(10, 24), QPointF(23, 24));
        painter.drawLine(QPointF(10, 10), QPointF(23, 10));
        ball(painter, QPointF(9, 9), 7, QColor(40, 170, 60));
        ball(painter, QPointF(23, 10), 6, QColor(40, 90, 210));
        ball(painter, QPointF(23, 24), 6, QColor(240, 140, 20));
        painter.end();
        icon.addPixmap(picture);
    }
    return icon;
}

} // namespace korvel
