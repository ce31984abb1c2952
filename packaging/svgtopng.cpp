// Build-time helper: renders an SVG into square PNGs for the icon theme,
// so the installed PNGs always match the drawing they come from.
//   qiv-svgtopng INPUT.svg OUTPUT_FOLDER SIZE...   writes OUTPUT_FOLDER/SIZExSIZE.png

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    // Rendering needs no screen; the offscreen platform keeps it working on
    // build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: qiv-svgtopng INPUT.svg OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "qiv-svgtopng: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir folder(args.at(2));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "qiv-svgtopng: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int side = args.at(i).toInt(&ok);
        if (!ok || side <= 0 || side > 4096) {
            std::fprintf(stderr, "qiv-svgtopng: bad size %s\n", qPrintable(args.at(i)));
            return 2;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, side, side));
        painter.end();
        const QString path = folder.filePath(QStringLiteral("%1x%1.png").arg(side));
        if (!image.save(path)) {
            std::fprintf(stderr, "qiv-svgtopng: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
