#include "model/Resolution.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

int aspectKey(const QSize& size)
{
    return int(std::floor(double(size.width()) / double(size.height()) * 100.0 + 0.5));
}

// One side of the text form: a base-10 int with nothing around it. QString::toInt
// alone would take blanks around the number.
int side(const QString& text, bool* ok)
{
    *ok = false;
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return 0;
    return text.toInt(ok, 10);
}

} // namespace

Resolution::Resolution(int width, int height)
    : m_width(width), m_height(height)
{
}

Resolution::Resolution(const QString& text)
    : m_width(0), m_height(0)
{
    if (text.isEmpty())
        return;
    const QStringList parts = text.split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (parts.size() != 2)
        return;
    bool okWidth = false;
    bool okHeight = false;
    const int width = side(parts[0], &okWidth);
    const int height = side(parts[1], &okHeight);
    if (!okWidth || !okHeight)
        return;
    m_width = width;
    m_height = height;
}

QString Resolution::toString() const
{
    return QStringLiteral("%1x%2").arg(m_width).arg(m_height);
}

QList<QSize> Resolution::standardList()
{
    return {QSize(640, 480),   QSize(800, 600),   QSize(960, 540),   QSize(540, 960),
            QSize(1024, 768),  QSize(1080, 1080), QSize(1280, 1024), QSize(1280, 720),
            QSize(720, 1280),  QSize(1366, 768),  QSize(1600, 900),  QSize(1600, 1200),
            QSize(1920, 1080), QSize(1080, 1920), QSize(2560, 1440), QSize(3840, 2160)};
}

Resolution Resolution::defaultForScreen(bool excludeFullHd)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return defaultForScreenSize(screen ? screen->size() : QSize(), excludeFullHd);
}

Resolution Resolution::defaultForScreenSize(const QSize& screen, bool excludeFullHd)
{
    QList<QSize> list = standardList();
    if (excludeFullHd) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [](const QSize& s) { return s.width() >= 1920 && s.height() >= 1080; }),
                   list.end());
    }
    if (screen.width() < 1 || screen.height() < 1)
        return Resolution();
    if (list.contains(screen))
        return Resolution(screen.width(), screen.height());
    const int key = aspectKey(screen);
    for (int i = list.size() - 1; i >= 1; --i) {
        if (aspectKey(list[i]) == key)
            return Resolution(list[i].width(), list[i].height());
    }
    return Resolution();
}
