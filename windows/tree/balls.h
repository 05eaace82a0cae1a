// The tree's image list (ImageList1): six small balls, each 15 x 15 pixels
// on white, keyed "green", "blue", "orange" and, for the selected item,
// "green2", "blue2", "orange2" (smaller and paler).
#pragma once

#include <QIcon>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace korvel {

class BallImages
{
public:
    BallImages();

    static constexpr int Size = 15;

    // The six keys in their order.
    static QStringList keys();
    // The picture of `key`; a null pixmap for a key the list does not have.
    QPixmap image(const QString &key) const;

    // The image key an item of an object of `kind` shows: green for a Node,
    // blue for a Table or an Entry, orange for anything else. The selected
    // image's key is that key followed by "2".
    static QString keyFor(int32_t kind);
    // The root's image, also while selected.
    static QString rootKey();

    // An icon showing `key` normally and `selectedKey` while selected.
    QIcon icon(const QString &key, const QString &selectedKey) const;

private:
    QMap<QString, QPixmap> m_images;
};

} // namespace korvel
