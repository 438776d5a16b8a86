// portavo_screens <outdir> [language]: renders every wizard page, the open drive popup, the Add
// dialog, the secondary dialogs and message boxes to PNG files, so the look can be reviewed
// without a display; with a language ("de", "ja"), in that language's translation.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cstdio>

#include "Formatting.h"
#include "ScreenWalk.h"
#include "TranslationLoader.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: portavo_screens <outdir> [language]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    TranslationLoader translations;
    if (argc > 2) {
        if (!translations.install(QString::fromLocal8Bit(argv[2]),
                                  QStringLiteral(PORTAVO_QM_DIR))) {
            std::fprintf(stderr, "no translation for %s in %s\n", argv[2], PORTAVO_QM_DIR);
            return 2;
        }
        setUiLanguage(translations.language());
    }

    int failures = 0;
    const int missing = ScreenWalk::run([&](QWidget* widget, const QString& name) {
        QString path = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
        QImage image = widget->grab().toImage();
        if (name == QLatin1String(ScreenWalk::WholeScreen)) {
            // The whole screen with the window where it stands, named after the screen's pixels.
            QScreen* screen = widget->screen();
            const qreal dpr = screen->devicePixelRatio();
            const QSize pixels = screen->geometry().size() * dpr;
            QImage canvas(pixels, QImage::Format_RGB32);
            canvas.setDevicePixelRatio(dpr);
            canvas.fill(QColor(96, 102, 116));
            QPainter painter(&canvas);
            painter.drawImage(widget->frameGeometry().topLeft() - screen->geometry().topLeft(),
                              image);
            painter.end();
            image = canvas;
            path = outDir + QStringLiteral("/screen-%1x%2-scale%3.png")
                                .arg(pixels.width())
                                .arg(pixels.height())
                                .arg(dpr);
        }
        if (!image.save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            ++failures;
            return;
        }
        std::printf("%s\n", qPrintable(path));
    });
    return failures + missing == 0 ? 0 : 1;
}
