#include "SharpPixmap.h"

QPixmap sharpPixmap(const QString& path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0 && !path.isEmpty()) {
        const QString larger = path.endsWith(QLatin1String(".png"))
                                   ? path.chopped(4) + QLatin1String("@2x.png")
                                   : path + QLatin1String("@2x");
        QPixmap pixmap;
        if (pixmap.load(larger)) {
            pixmap.setDevicePixelRatio(2.0);
            return pixmap;
        }
    }
    return QPixmap(path);
}
