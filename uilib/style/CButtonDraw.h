#pragma once

#include "uilib/style/ArrowSpec.h"
#include "uilib/style/CPanelDraw.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextOption>

class CIcon;
class QPainter;

// The content of a button inside its panel: an icon, a text, a secondary text and an arrow,
// laid out in the inner rectangle and painted in colours that follow the animated state.
class CButtonDraw : public CPanelDraw
{
public:
    // A text's size, the size of "...", and its cap height.
    struct TextMetrics
    {
        QSize whole;
        QSize dots;
        int capHeight = 0;
    };

    explicit CButtonDraw(QWidget* owner);
    ~CButtonDraw() override;

    // The content size with the whole texts.
    QSize sizeHint() const override;
    // With a shrinkable owner, the content size with "..." in place of each text.
    QSize minimumSizeHint() const override;
    void updateLayout() override;
    void lookChanged() override;
    virtual void textChanged(const QString& text);
    virtual void secondaryTextChanged(const QString& text);

    void setArrows(const ArrowSpec& first, const ArrowSpec& second);
    void setArrowColors(const ColorSet& colors);
    // 1 puts the arrow right after the texts instead of at the right edge.
    void setArrowPlacement(int placement);
    void setTextColors(const ColorSet& colors);
    void setSecondaryTextColors(const ColorSet& colors);
    void setSpacing(int spacing);
    void setIcon(const QString& path);
    void setIconFromUtf8(const char* path);
    // 1 above the texts, 2 on their left, 4 on their right, 8 below them.
    void setIconPosition(int position);
    // An invalid size takes the icon's own size.
    void setIconSize(const QSize& size);
    void setIconRecolored(bool recolored);
    // Also turns recolouring on.
    void setIconColors(const ColorSet& colors);
    // With a separator set, the part after its first occurrence becomes the secondary text.
    void setText(const QString& text);
    void setSecondaryText(const QString& text);
    void setSeparator(QChar separator);
    // Goes to the owner widget when there is one.
    void setFont(const QFont& font);
    void setTextFont(int pixelSize, int weight);
    void setSecondaryFont(const QFont& font);
    void setTextAlignment(int alignment);
    void setElideMode(Qt::TextElideMode mode);
    void setWrapMode(QTextOption::WrapMode mode);
    // 1 puts the two texts side by side; any other value stacks them.
    void setLayoutMode(int mode);

    QString text() const { return m_text; }
    QString secondaryText() const { return m_secondaryText; }
    ColorSet textColors() const { return m_textColors; }
    ColorSet secondaryTextColors() const { return m_secondaryColors; }
    ColorSet arrowColors() const { return m_arrowColors; }
    ColorSet iconColors() const { return m_iconColors; }
    ArrowSpec firstArrow() const { return m_arrows[0]; }
    ArrowSpec secondArrow() const { return m_arrows[1]; }
    CIcon* icon() const { return m_icon; }
    bool hasIcon() const;
    bool isIconRecolored() const { return m_iconRecolored; }
    int spacing() const { return m_hSpacing; }
    int layoutMode() const { return m_layoutMode; }
    Qt::Alignment textAlignment() const { return m_textAlignment; }
    // The owner's font, or the font kept here without an owner.
    QFont textFont() const;
    QFont secondaryFont() const { return m_secondaryFont; }
    QRect iconRect();
    QRect textRect();
    QRect secondaryTextRect();
    QRect arrowRect();
    // True when the last paint elided a text.
    bool isTextElided() const { return m_elided; }
    bool hasArrows() const;
    bool hasHeightForWidth() const;
    int heightForWidth(int width) const;
    // The owner calls this when its font changes.
    void invalidateTextLayout();

    // Paints the icon, the texts and the arrow for the state over the panel.
    void paint(CPainterScope& scope, const CAnimationWidget& state);
    // Paints the texts and the arrow, and the icon in state `flags` when its colour shows.
    void paintContent(CPainterScope& scope, const QColor& iconColor, const QColor& textColor,
                      const QColor& secondaryColor, const QColor& arrowColor, int flags);

private:
    void measure() const;
    void invalidateMeasure() { m_measured = false; }
    void relayout();
    QSize contentSize(const QSize& text, const QSize& secondary) const;
    QSize iconSize() const;
    QSize arrowSlot() const;
    void layoutTexts(QRectF area);
    void drawIconIn(QPainter* painter, const QColor& color, const std::function<void(const QColor&)>& draw) const;
    void drawText(QPainter* painter, const QString& text, const QRectF& rect, const QFont& font,
                  const TextMetrics& metrics, const QPen& pen);

    int m_hSpacing = 0;
    int m_vSpacing = 0;
    ColorSet m_textColors;
    int m_iconPosition = 2;
    CIcon* m_icon = nullptr;
    bool m_iconRecolored = false;
    QSize m_iconSize;
    bool m_iconColorsGiven = false;
    ColorSet m_iconColors;
    QString m_text;
    QFont m_textFont;
    Qt::Alignment m_textAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
    bool m_elided = false;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    QTextOption::WrapMode m_wrapMode = QTextOption::NoWrap;
    QString m_secondaryText;
    QFont m_secondaryFont;
    bool m_secondaryColorsGiven = false;
    ColorSet m_secondaryColors;
    int m_layoutMode = 2;
    QChar m_separator;
    ArrowSpec m_arrows[2] = {{QSize(0, 0), QMargins(), Qt::DownArrow, 0.0},
                             {QSize(0, 0), QMargins(), Qt::DownArrow, 0.0}};
    ColorSet m_arrowColors;
    int m_arrowPlacement = 0;
    bool m_layoutDirty = true;
    QRect m_iconRect;
    QRectF m_textRect;
    QRectF m_secondaryRect;
    QRect m_arrowRect;
    mutable bool m_measured = false;
    mutable TextMetrics m_main;
    mutable TextMetrics m_secondary;
};
