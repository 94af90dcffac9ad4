#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>

// A JPEG photo in the folder, 4000x3000 unless told, its colours set by the index: a gradient
// under 300 small ellipses, so that it neither compresses to nothing nor decodes for free.
inline QString writeBenchPhoto(const QDir& dir, int index, const QSize& size = QSize(4000, 3000))
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor::fromHsv(index * 70 % 360, 180, 200));
    gradient.setColorAt(1, QColor::fromHsv((index * 70 + 150) % 360, 200, 120));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 300; ++i) {
        painter.setBrush(QColor::fromHsv((i * 37 + index * 11) % 360, 200, 230));
        painter.drawEllipse(QPoint(i * 97 % size.width(), i * 53 % size.height()), 60, 40);
    }
    painter.end();
    const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(index));
    image.save(path, "jpg", 90);
    return path;
}

inline QString writeBenchPhoto(const QTemporaryDir& dir, int index)
{
    return writeBenchPhoto(QDir(dir.path()), index);
}
