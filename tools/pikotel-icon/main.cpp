// pikotel-icon SVG SIZE PNG: the drawing rendered into a SIZE × SIZE picture with a
// transparent background, written atomically.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sized = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sized) : 0;
    if (!sized || size < 1 || size > 4096) {
        std::fputs("usage: pikotel-icon SVG SIZE PNG\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "pikotel-icon: not a drawing: %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    QSaveFile out(args.at(3));
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        std::fprintf(stderr, "pikotel-icon: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
