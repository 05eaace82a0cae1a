#include "balls.h"

#include "appstate.h"

#include <QColor>
#include <QPainter>
#include <QRadialGradient>

namespace korvel {

namespace {

// A shaded ball of `colour` on white: lit from the upper left, darker at
// the rim. `diameter` is at most Size - 2.
QPixmap drawBall(const QColor &colour, int diameter)
{
    QPixmap picture(BallImages::Size, BallImages::Size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal offset = (BallImages::Size - diameter) / 2.0;
    const QRectF ball(offset, offset, diameter, diameter);
    QRadialGradient shade(ball.center(), diameter / 2.0, ball.topLeft() + QPointF(diameter * 0.35, diameter * 0.35));
    shade.setColorAt(0.0, colour.lighter(160));
    shade.setColorAt(0.6, colour);
    shade.setColorAt(1.0, colour.darker(140));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(ball);
    return picture;
}

// The same colour mixed half and half with white: same hue, paler.
QColor paler(const QColor &colour)
{
    return QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
}

struct Ball {
    const char *key;
    QColor colour;
};

} // namespace

BallImages::BallImages()
{
    const Ball balls[] = {
        {"blue", QColor(0, 80, 220)},
        {"green", QColor(0, 150, 0)},
        {"orange", QColor(240, 130, 0)},
    };
    for (const Ball &ball : balls) {
        const QString key = QLatin1String(ball.key);
        m_images.insert(key, drawBall(ball.colour, Size - 2));
        m_images.insert(key + QLatin1Char('2'), drawBall(paler(ball.colour), Size - 6));
    }
}

QStringList BallImages::keys()
{
    return {QStringLiteral("blue"), QStringLiteral("blue2"), QStringLiteral("green"),
            QStringLiteral("green2"), QStringLiteral("orange"), QStringLiteral("orange2")};
}

QPixmap BallImages::image(const QString &key) const
{
    return m_images.value(key);
}

QString BallImages::keyFor(int32_t kind)
{
    switch (kind) {
    case ObjectKind::Node:
        return QStringLiteral("green");
    case ObjectKind::Table:
    case ObjectKind::Entry:
        return QStringLiteral("blue");
    default:
        return QStringLiteral("orange");
    }
}

QString BallImages::rootKey()
{
    return QStringLiteral("green");
}

QIcon BallImages::icon(const QString &key, const QString &selectedKey) const
{
    QIcon icon;
    icon.addPixmap(image(key), QIcon::Normal);
    icon.addPixmap(image(selectedKey), QIcon::Selected);
    return icon;
}

} // namespace korvel
