#pragma once

#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialog.h"

#include <QColor>
#include <QPixmap>

class CButtonGroup;
class CCustomLayout;

// A modal grid of round swatches that closes with 1 on the first click. Mode 0 offers the 30
// slide backgrounds by index, mode 1 the text colours, mode 2 no colour and the plain
// backgrounds; any other mode is empty.
class SelectColorDialog : public CDialog
{
    Q_OBJECT
public:
    class ColorButton;

    SelectColorDialog(int mode, QWidget* parent = nullptr);
    ~SelectColorDialog() override;

    // An invalid colour when nothing is checked.
    QColor selectedColor() const;
    // -1 when nothing is checked.
    int selectedColorIndex() const;
    // Preselection: checks the swatch without closing the dialog. An invalid colour is looked up
    // as no colour.
    void setSelectedColor(const QColor& color);
    void setSelectedColorIndex(int index);
    CButtonGroup* buttonGroup() const { return m_group; }
    CCustomLayout* swatchLayout() const { return m_layout; }

public slots:
    void updateTexts() override;

private:
    CButtonGroup* m_group;
    CCustomLayout* m_layout;
};

// One swatch: a slide background by index (mode 0) or a colour (modes 1 and 2) in a circle, with
// a gray ring where it would not show on a light ground.
class SelectColorDialog::ColorButton : public CButton
{
    Q_OBJECT
public:
    ColorButton(int mode, int styleKind, const QString& iconName, QWidget* parent = nullptr);
    ~ColorButton() override;

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    int backgroundIndex() const { return m_backgroundIndex; }
    void setBackgroundIndex(int index);
    // Whether the swatch is drawn with the ring.
    bool hasRing() const;

protected:
    void drawButton(CPainterScope& scope) override;

private:
    void drawPicture(QPainter* painter, const QRect& area, double ratio);

    int m_mode;
    int m_backgroundIndex = -1;
    QColor m_color;
    QPixmap m_picture;
};
