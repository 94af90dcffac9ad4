#pragma once

#include "uilib/style/CPanelDraw.h"
#include "uilib/style/Cpalette.h"

// The application's look on top of the library palette: its own colour roles (1000 to 1019),
// metrics (1000 to 1002), colour sets (1000 to 1004), arrows (1000 to 1003) and style kinds
// (1000 to 1075), light or dark as isDark() answers. Every value it reads is asked of the palette
// again, so a subclass that changes a value changes every look built on it.
class Style : public Cpalette
{
public:
    explicit Style(QObject* parent);

    int metric(int id) const override;
    QSize defaultSize(int kind) const override;
    QMargins margins(int kind) const override;
    QColor color(int role) const override;
    ColorSet colorSet(int kind) const override;
    ArrowSpec arrowStyle(int kind) const override;
    QString titleBarIcon(int kind) const override;
    void styleWindow(CWindow* window, int kind) override;
    void stylePanel(CPanel* panel, int kind) override;
    void styleText(QLabel* label, int kind) override;
    void styleButton(CButtonDraw* button, int kind, const QString& icon) override;
    void styleLineEdit(CLinEdit* edit, int kind) override;
    void styleTextEdit(CTextEdit* edit, int kind) override;
    void styleSpinBox(CSpinBoxDraw* spin, int kind) override;
    void styleSlider(CSlider* slider, int kind) override;
    void styleProgressBar(CProgressBar* bar, int kind) override;
    void styleScrollArea(CScrollArea* area, int kind) override;
    void styleAnimationIcon(CIcon* icon) override;

protected:
    static CPanelDraw::Radii corners(int radius);
    static QMargins uniform(int width);
    // The colour, lighter and darker for hover and press, no disabled colour.
    static ColorSet shaded(const QColor& color, int lighter, int darker);

private:
    QString progressBarStyleSheet() const;
    // Height, font and padding of the main buttons by size step (0 to 6).
    void applySizeStep(CButtonDraw* button, int step);
    // Kinds 1002 to 1020: this palette's kind 11, a size step and a fill; false for other kinds.
    bool styleMainButton(CButtonDraw* button, int kind, const QString& icon);
    // Kinds 1034 to 1039: the underlined link buttons in role 18.
    void styleLinkButton(CButtonDraw* button, int kind);
    // Kinds 1021 to 1051 beyond the main and link buttons; false for other kinds.
    bool styleSmallButton(CButtonDraw* button, int kind, const QString& icon);
    bool styleFlatButton(CButtonDraw* button, int kind, const QString& icon);
};
