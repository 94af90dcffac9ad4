#include "uilib/style/CLayoutItem.h"

namespace {

// Qt's widget item for the widget, with the item's alignment.
class WidgetItem : public QWidgetItem
{
public:
    WidgetItem(QWidget* widget, Qt::Alignment alignment)
        : QWidgetItem(widget)
    {
        setAlignment(alignment);
    }
};

} // namespace

CLayoutItem::CLayoutItem(int width, int height, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical)
    : QSpacerItem(width, height, horizontal, vertical)
{
}

void CLayoutItem::setWidget(QWidget* widget)
{
    m_widget = widget;
}

QSize CLayoutItem::sizeHint() const
{
    return m_widget ? WidgetItem(m_widget, alignment()).sizeHint() : QSpacerItem::sizeHint();
}

QSize CLayoutItem::minimumSize() const
{
    return m_widget ? WidgetItem(m_widget, alignment()).minimumSize() : QSpacerItem::minimumSize();
}

QSize CLayoutItem::maximumSize() const
{
    return m_widget ? WidgetItem(m_widget, alignment()).maximumSize() : QSpacerItem::maximumSize();
}

Qt::Orientations CLayoutItem::expandingDirections() const
{
    return m_widget ? WidgetItem(m_widget, alignment()).expandingDirections() : QSpacerItem::expandingDirections();
}

void CLayoutItem::setGeometry(const QRect& rect)
{
    QSpacerItem::setGeometry(rect);
    if (m_widget)
        WidgetItem(m_widget, alignment()).setGeometry(rect);
}

QRect CLayoutItem::geometry() const
{
    return m_widget ? m_widget->geometry() : QSpacerItem::geometry();
}

bool CLayoutItem::isEmpty() const
{
    return m_widget ? WidgetItem(m_widget, alignment()).isEmpty() : QSpacerItem::isEmpty();
}

bool CLayoutItem::hasHeightForWidth() const
{
    return m_widget ? m_widget->hasHeightForWidth() : QSpacerItem::hasHeightForWidth();
}

int CLayoutItem::heightForWidth(int width) const
{
    return m_widget ? m_widget->heightForWidth(width) : QSpacerItem::heightForWidth(width);
}

QWidget* CLayoutItem::widget()
{
    return m_widget;
}

QSpacerItem* CLayoutItem::spacerItem()
{
    return m_widget ? nullptr : this;
}

QSizePolicy::ControlTypes CLayoutItem::controlTypes() const
{
    return m_widget ? m_widget->sizePolicy().controlType() : QSizePolicy::DefaultType;
}
