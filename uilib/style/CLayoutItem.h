#pragma once

#include <QPointer>
#include <QSpacerItem>
#include <QWidget>

// A layout item of fixed size that stands in for a row widget, or carries one: while
// its widget lives it behaves as Qt's widget item for it, otherwise as the spacer.
class CLayoutItem : public QSpacerItem
{
public:
    CLayoutItem(int width, int height, QSizePolicy::Policy horizontal = QSizePolicy::Minimum,
                QSizePolicy::Policy vertical = QSizePolicy::Minimum);

    // Null gives the item back its spacer nature.
    void setWidget(QWidget* widget);

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect& rect) override;
    QRect geometry() const override;
    bool isEmpty() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QWidget* widget() override;
    QSpacerItem* spacerItem() override;
    QSizePolicy::ControlTypes controlTypes() const override;

private:
    QPointer<QWidget> m_widget;
};
