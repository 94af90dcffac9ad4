#pragma once

#include "uilib/style/CDrawable.h"
#include "uilib/style/CEventFocus1.h"
#include "uilib/style/CPanelDraw.h"
#include "uilib/style/ColorSet.h"

#include <QLineEdit>

#include <memory>

class CAnimationWidget;
class CButton;
class CIcon;

// The one-line edit of the library: a QLineEdit in a palette panel, with an optional leading
// icon, trailing widgets inside the edit at its right end (such as its clear button), a
// password mask that lifts while focused, and a size hint of a number of characters or of its text.
class CLinEdit : public QLineEdit, public CPanelDraw, public CDrawable, public CEventFocus1
{
    Q_OBJECT
public:
    explicit CLinEdit(int styleKind, QWidget* parent = nullptr);
    ~CLinEdit() override;

    using QWidget::rect;
    using QWidget::resize;

    void applyStyle() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void setMargins(const QMargins& margins) override;
    void setPadding(const QMargins& padding) override;
    void geometryChanged() override;

    // Reparents the widget into the edit and keeps the text clear of it while it is shown.
    QWidget* addTrailingWidget(QWidget* widget);
    QList<QWidget*> trailingWidgets() const;
    // Once per edit: a button shown while there is text that empties the edit.
    void addClearButton(bool escapeClears);
    CButton* clearButton() const;
    // An icon that is missing, invalid or of no size leaves the edit without one.
    void setIcon(const QString& name);
    CIcon* icon() const;
    void setIconMargins(const QMargins& margins);
    void setIconMargins(int left, int top, int right, int bottom);
    QMargins iconMargins() const;
    void setIconColors(const ColorSet& colors);
    ColorSet iconColors() const;
    // An invalid colour draws no line right of the icon.
    void setSeparatorColor(const QColor& color);
    void setTrailingSpacing(int spacing);
    int trailingSpacing() const;
    // Password echo while the edit has no focus.
    void setMaskWhenUnfocused(bool mask);
    bool maskWhenUnfocused() const;
    // On: the size hint is a number of "x" characters; off: it follows the text.
    void setFixedCharacterWidth(bool fixed);
    bool fixedCharacterWidth() const;
    void setFitToText(bool fit) { setFixedCharacterWidth(!fit); }
    // Visible trailing widgets and the spacing before them.
    int trailingWidth() const;
    CAnimationWidget* animation() const;

signals:
    void isValidChanged(bool valid);
    void focused();
    void focusLost();
    void cancelPressed();

protected:
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Private;
    QSize hintFor(bool minimum) const;
    void updateTextMargins();
    void layoutTrailing();
    void applyEchoRule();
    void onTextChanged(const QString& text);
    void clearByButton();
    // The rectangle less the border and the margins of the panel.
    QRect frameInside() const;

    Private* d;
};
