// ty_gallery --out DIR [--verify]: writes every registered picture and an index.html into DIR;
// --verify reads them back and fails when one is missing or of one flat colour.

#include "Gallery.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

struct Written
{
    QString entry;
    QList<QString> files;
};

QString htmlEscaped(const QString& text)
{
    return text.toHtmlEscaped();
}

bool writeIndex(const QDir& out, const QList<Written>& written)
{
    QFile file(out.filePath(QStringLiteral("index.html")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream html(&file);
    html << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>ty_gallery</title>"
            "<style>body{font-family:sans-serif;background:#888}figure{display:inline-block;margin:8px;"
            "vertical-align:top}figcaption{font-size:12px}</style></head><body>\n";
    for (const Written& entry : written) {
        html << "<h2>" << htmlEscaped(entry.entry) << "</h2>\n";
        for (const QString& name : entry.files) {
            html << "<figure><img src=\"" << htmlEscaped(name) << "\"><figcaption>" << htmlEscaped(name)
                 << "</figcaption></figure>\n";
        }
    }
    html << "</body></html>\n";
    return file.flush();
}

int verify(const QDir& out, const QList<Written>& written)
{
    int failures = 0;
    for (const Written& entry : written) {
        for (const QString& name : entry.files) {
            const QImage image(out.filePath(name));
            if (image.isNull() || isFlatImage(image)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name), image.isNull() ? "missing" : "one flat colour");
                ++failures;
            }
        }
    }
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    UiTestEnvironment environment(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the pictures."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("verify"), QStringLiteral("Check every written picture.")});
    parser.process(*QCoreApplication::instance());
    if (!parser.isSet(QStringLiteral("out"))) {
        std::fprintf(stderr, "ty_gallery: --out DIR is required\n");
        return 2;
    }
    QDir out(parser.value(QStringLiteral("out")));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "ty_gallery: cannot create %s\n", qPrintable(out.path()));
        return 2;
    }

    QList<Written> written;
    for (const GalleryEntry& entry : galleryEntries()) {
        GalleryPage page;
        page.usePalette(false);
        entry.function(page);
        Written done{entry.name, {}};
        for (const GalleryShot& shot : page.shots()) {
            const QString name = shot.fileName(entry.name);
            if (!shot.image.save(out.filePath(name))) {
                std::fprintf(stderr, "ty_gallery: cannot write %s\n", qPrintable(name));
                return 1;
            }
            done.files.append(name);
        }
        written.append(done);
    }
    if (!writeIndex(out, written)) {
        std::fprintf(stderr, "ty_gallery: cannot write index.html\n");
        return 1;
    }
    if (parser.isSet(QStringLiteral("verify")))
        return verify(out, written) ? 1 : 0;
    return 0;
}
