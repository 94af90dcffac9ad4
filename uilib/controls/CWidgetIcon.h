#pragma once

#include "uilib/controls/CWidgetBase.h"

#include <QColor>

class CIcon;

// One icon of the icon repository at a size, colour and alignment, optionally in a rounded clip.
class CWidgetIcon : public CWidgetBase
{
    Q_OBJECT
public:
    explicit CWidgetIcon(QWidget* parent = nullptr);
    CWidgetIcon(const QString& iconName, QWidget* parent = nullptr);
    CWidgetIcon(const char* iconName, QWidget* parent = nullptr);
    ~CWidgetIcon() override;

    void setIconName(const QString& name);
    void setIconName(const char* name);
    CIcon* icon() const { return m_icon; }
    // An invalid size takes the icon's own.
    void setIconSize(const QSize& size);
    QSize iconSize() const { return m_iconSize; }
    // An invalid colour keeps the icon's own colours.
    void setIconColor(const QColor& color);
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }
    // 0 paints without clipping.
    void setCornerRadius(int radius);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize shownIconSize() const;

    CIcon* m_icon = nullptr;
    Qt::Alignment m_alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    QColor m_color;
    QSize m_iconSize;
    int m_cornerRadius = 0;
};
