// Renders the program's SVG icon as the PNGs of the hicolor icon theme, at build time, so that the pictures
// always follow the SVG. Usage: osago_render_icon ICON.svg NAME OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png for each size.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool renderOne(QSvgRenderer& renderer, int size, const QString& path)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QDir().mkpath(QFileInfo(path).path()) && image.save(path, "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s ICON.svg NAME OUTPUT_FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read the icon %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString folder = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
        if (size <= 0 || !renderOne(renderer, size, path)) {
            std::fprintf(stderr, "%s: cannot write the %s-pixel icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
