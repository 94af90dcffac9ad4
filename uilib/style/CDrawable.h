#pragma once

#include <QPointer>

class CStyle;

// Mixin of every styled object: a style kind (-1: no palette look) and the duty to restyle itself.
// It registers with the style holder when one exists and leaves its list when it ends.
class CDrawable
{
public:
    explicit CDrawable(int styleKind);
    virtual ~CDrawable();
    virtual void applyStyle() = 0;

    int styleKind() const { return m_styleKind; }
    bool hasStyle() const { return m_styleKind >= 0; }
    void setStyleKind(int kind);

private:
    int m_styleKind;
    QPointer<CStyle> m_style;
};
