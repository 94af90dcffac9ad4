#pragma once

#include "uilib/style/AnimationParams.h"
#include "uilib/style/ArrowSpec.h"
#include "uilib/style/ColorSet.h"

#include <QColor>
#include <QMargins>
#include <QObject>
#include <QSize>
#include <QString>

class CButtonDraw;
class CChadowLine;
class CIcon;
class CLinEdit;
class CPanel;
class CPanelDraw;
class CProgressBar;
class CScrollArea;
class CSlider;
class CSpinBoxDraw;
class CTextEdit;
class CWindow;
class QLabel;
class QScrollBar;
class QWidget;

// The look of every library widget. Each answer depends only on its argument and on other
// virtual answers, so a palette that overrides one answer changes every answer built on it.
class Cpalette : public QObject
{
public:
    explicit Cpalette(QObject* parent);

    virtual QString name() const;
    virtual QString baseName() const;
    virtual QString description() const;
    virtual bool isDark() const;
    virtual int metric(int id) const;
    virtual double opacity(int kind) const;
    virtual QSize defaultSize(int kind) const;
    virtual QMargins margins(int kind) const;
    virtual QColor color(int role) const;
    virtual ColorSet colorSet(int kind) const;
    virtual ArrowSpec arrowStyle(int kind) const;
    virtual AnimationParams animationValue(int kind) const;
    virtual QString titleBarIcon(int kind) const;
    virtual void styleWindow(CWindow* window, int kind);
    virtual void stylePanel(CPanel* panel, int kind);
    virtual void styleText(QLabel* label, int kind);
    virtual void styleReserved(QWidget* widget, int kind);
    virtual void styleButton(CButtonDraw* button, int kind, const QString& icon);
    virtual void styleBox(CPanelDraw* box);
    virtual void styleLineEdit(CLinEdit* edit, int kind);
    virtual void styleTextEdit(CTextEdit* edit, int kind);
    virtual void styleSpinBox(CSpinBoxDraw* spin, int kind);
    virtual void styleSlider(CSlider* slider, int kind);
    virtual void styleProgressBar(CProgressBar* bar, int kind);
    virtual void styleScrollArea(CScrollArea* area, int kind);
    virtual void styleScrollBar(QScrollBar* bar, int kind);
    virtual void styleMenu(QWidget* menu, int kind);
    virtual QString menuStyleSheet(int kind) const;
    virtual void styleShadowLine(CChadowLine* line, int kind);
    virtual void styleAnimationIcon(CIcon* icon);

    QColor textColor() const;
    QColor secondaryTextColor() const;
    QColor hoverOverlayColor(const QColor& base) const;
    QColor pressedOverlayColor(const QColor& base) const;

private:
    bool isDarkBase(const QColor& base) const;
    // The text colour that reads on the background.
    QColor textOn(const QColor& background) const;
    QColor opaque(const QColor& color) const;
};
