#pragma once

#include <QProxyStyle>

// The application-wide style: the current palette answers a few metrics and hints, and the
// platform draws no frame or focus of the library's panels.
class CProxyStyle : public QProxyStyle
{
public:
    explicit CProxyStyle(QStyle* base);
    ~CProxyStyle() override;

    // The library's panels draw their own frames and focus.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// A new library style over a fresh style of the application's kind, for a proxy that owns its base.
QStyle* makeLibraryStyle();
