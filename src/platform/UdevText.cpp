#include "UdevText.h"

QString UdevText::decode(const QByteArray& encoded)
{
    QByteArray out;
    for (int i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '\\' && i + 3 < encoded.size() && encoded[i + 1] == 'x') {
            bool ok = false;
            const int value = encoded.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(encoded[i]);
    }
    return QString::fromUtf8(out);
}
