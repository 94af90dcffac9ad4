#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Frame size of the output video, written "<width>x<height>".
class Resolution
{
public:
    Resolution() = default;
    Resolution(int width, int height);
    explicit Resolution(const QString& text);

    int width() const { return m_width; }
    int height() const { return m_height; }
    QSize size() const { return QSize(m_width, m_height); }
    QString toString() const;

    bool isValid() const { return m_width >= 1 && m_height >= 1; }
    bool isSquare1080() const { return m_width == 1080 && m_height == 1080; }
    bool isPortrait() const { return m_width < m_height; }

    bool operator==(const Resolution& other) const
    {
        return m_width == other.m_width && m_height == other.m_height;
    }
    bool operator!=(const Resolution& other) const { return !(*this == other); }

    static QList<QSize> standardList();
    // The standard size that suits the primary screen; excludeFullHd also drops
    // the sizes of 1920x1080 and above.
    static Resolution defaultForScreen(bool excludeFullHd = true);
    // The same choice for a screen of the given size (an empty size: no screen).
    static Resolution defaultForScreenSize(const QSize& screen, bool excludeFullHd = true);

private:
    int m_width = 1024;
    int m_height = 768;
};
