// Renders the application icon's PNG files from its drawing, and a contact sheet of
// every compiled-in picture for looking them over.
//   ty_icontool appicon <appicon.svg> <folder>
//   ty_icontool sheet <sheet.png> [pattern of the names]

#include "resources/Resources.h"

#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

constexpr int kAppIconSize = 20;

QImage render(const QString& path, QSize size, const QColor& tint = QColor())
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer(path).render(&painter);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(), size), QImage(path));
    }
    if (tint.isValid()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
    }
    return image;
}

bool writeAppIcon(const QString& svg, const QString& folder)
{
    const QDir dir(folder);
    return render(svg, QSize(kAppIconSize, kAppIconSize)).save(dir.filePath("appicon.png"))
        && render(svg, QSize(2 * kAppIconSize, 2 * kAppIconSize)).save(dir.filePath("appicon@2x.png"));
}

struct Scheme
{
    QColor background;
    QColor icon;
};

// Each picture at 24 px and 48 px in the dark and the light look, at 24 px in its own
// colours, and tinted as a "no colour" swatch mark.
bool writeSheet(const QString& out, const QString& filter)
{
    QStringList paths;
    for (QDirIterator it(":/"); it.hasNext();) {
        const QString path = it.next();
        const bool picture = path.endsWith(QLatin1String(".svg")) || path.endsWith(QLatin1String(".png"));
        if (picture && path.lastIndexOf('/') == 1 && path.contains(QRegularExpression(filter)))
            paths << path;
    }
    std::sort(paths.begin(), paths.end());

    const Scheme schemes[] = {{QColor("#1C1D1E"), QColor("#E1E1E1")},
                              {QColor("#FFFFFF"), QColor("#303030")}};
    const int columns = 3;
    const QSize cell(330, 72);
    const int rows = (int(paths.size()) + columns - 1) / columns;
    QImage sheet(cell.width() * columns, cell.height() * rows, QImage::Format_RGB32);
    sheet.fill(QColor("#1C1D1E"));
    QPainter painter(&sheet);
    painter.setFont(QFont("DejaVu Sans", 8));
    for (int i = 0; i < paths.size(); ++i) {
        const QPoint origin((i % columns) * cell.width(), (i / columns) * cell.height());
        int x = origin.x() + 4;
        for (const Scheme& scheme : schemes) {
            painter.fillRect(QRect(x, origin.y() + 4, 84, 52), scheme.background);
            painter.drawImage(x + 4, origin.y() + 18, render(paths[i], QSize(24, 24), scheme.icon));
            painter.drawImage(x + 32, origin.y() + 6, render(paths[i], QSize(48, 48), scheme.icon));
            x += 88;
        }
        painter.fillRect(QRect(x, origin.y() + 4, 60, 52), QColor("#3C3D3F"));
        painter.drawImage(x + 2, origin.y() + 18, render(paths[i], QSize(24, 24)));
        painter.drawImage(x + 30, origin.y() + 18, render(paths[i], QSize(24, 24), QColor("#FF8E87")));
        painter.setPen(QColor("#C1C1C1"));
        painter.drawText(QRect(origin.x() + 4, origin.y() + 56, cell.width() - 8, 16), Qt::AlignLeft,
                         paths[i].mid(2));
    }
    painter.end();
    return sheet.save(out);
}

} // namespace

int main(int argc, char* argv[])
{
    // Draws into images only; no window is ever shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    initSlideshowResources();
    const QStringList args = app.arguments();
    bool done = false;
    if (args.size() == 4 && args[1] == QLatin1String("appicon"))
        done = writeAppIcon(args[2], args[3]);
    else if ((args.size() == 3 || args.size() == 4) && args[1] == QLatin1String("sheet"))
        done = writeSheet(args[2], args.value(3));
    else
        QTextStream(stderr) << "usage: ty_icontool appicon <appicon.svg> <folder> | sheet <sheet.png> [pattern of the names]\n";
    return done ? 0 : 1;
}
