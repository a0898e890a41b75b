#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// A switch seen from the front: a chassis, two rows of jacks and a lit
// link LED, scaled to `size`.
QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(QPen(QColor(0x1b, 0x2a, 0x3a), 2));
    p.setBrush(QColor(0x3c, 0x5a, 0x78));
    p.drawRoundedRect(QRectF(3, 14, 58, 36), 5, 5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x18, 0x20));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col)
            p.drawRect(QRectF(8 + col * 10, 19 + row * 13, 7, 9));
    }
    p.setBrush(QColor(0x3d, 0xd6, 0x5c));
    p.drawEllipse(QRectF(53.5, 20, 4, 4));
    p.setBrush(QColor(0xf0, 0xa8, 0x30));
    p.drawEllipse(QRectF(53.5, 33, 4, 4));
    return pixmap;
}

} // namespace

QIcon LoadAppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
