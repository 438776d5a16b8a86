// Build-time helper: renders each SVG source to a PNG of the SVG's own size, or of twice that
// size when the output's name ends in "@2x.png" (Qt takes those on screens scaled by 2), or of
// N x N pixels with --size (the application icon's theme sizes).
// Usage: SvgRenderTool [--size N] OUT.png IN.svg [OUT.png IN.svg ...]

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    // Rendering text needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A build runs outside any login session, so there is no runtime directory and Qt would warn
    // about it for every image; a private one for this run keeps the build output quiet.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    int side = 0;
    if (args.size() > 2 && args[1] == QLatin1String("--size")) {
        side = args[2].toInt();
        args.remove(1, 2);
    }
    if (args.size() < 3 || args.size() % 2 == 0 || side < 0) {
        std::fprintf(stderr,
                     "usage: SvgRenderTool [--size N] OUT.png IN.svg [OUT.png IN.svg ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString out = args[i];
        const QString in = args[i + 1];
        QSvgRenderer renderer(in);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "SvgRenderTool: cannot read %s\n", qPrintable(in));
            return 1;
        }
        const int scale = out.endsWith(QLatin1String("@2x.png")) ? 2 : 1;
        const QSize size = side > 0 ? QSize(side, side) : renderer.defaultSize() * scale;
        if (size.isEmpty()) {
            std::fprintf(stderr, "SvgRenderTool: %s has no size\n", qPrintable(in));
            return 1;
        }
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
        painter.end();
        if (!image.save(out, "PNG")) {
            std::fprintf(stderr, "SvgRenderTool: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
