#pragma once

#include <QPixmap>
#include <QString>

// A compiled-in image for a screen of the given scale: on a scaled screen its twice-as-large
// rendering ("name@2x.png" beside "name.png"), so icons stay sharp; otherwise the image itself.
QPixmap sharpPixmap(const QString& path, qreal devicePixelRatio);
