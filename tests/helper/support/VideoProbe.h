#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A video file read back through libavformat and libavcodec: the first video
// stream's facts and every frame it decodes to, as RGB32 images.
struct VideoProbe
{
    bool ok = false;
    int codecId = 0;
    int pixelFormat = -1;
    QSize size;
    int rateNum = 0; // the stream's real base frame rate
    int rateDen = 1;
    double durationSeconds = 0; // the container's, when it knows one
    QList<QImage> frames;

    static VideoProbe read(const QString& path);
};

// True when every channel of a and b differs by at most tolerance.
bool colorsClose(QRgb a, QRgb b, int tolerance);
