#include "uilib/controls/CShadowInner.h"

#include "uilib/controls/CChadowLine.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMap>
#include <QPointer>
#include <QScrollBar>

class CShadowInner::Private : public QObject
{
public:
    explicit Private(CShadowInner* owner) : QObject(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == widget && event->type() == QEvent::Show && widget->isVisible())
            update(false);
        return false;
    }

    QList<QScrollBar*> bars() const
    {
        QList<QScrollBar*> list;
        if (widget) {
            for (QScrollBar* bar : {widget->horizontalScrollBar(), widget->verticalScrollBar()})
                if (bar)
                    list << bar;
        }
        return list;
    }

    void showLine(int edge, bool visible, bool animated)
    {
        CChadowLine* line = lines.value(edge);
        if (line && (scrollEdges & edge))
            line->setVisibleAnimated(visible, animated);
    }

    void update(bool animated)
    {
        if (!widget)
            return;
        const QScrollBar* h = widget->horizontalScrollBar();
        const QScrollBar* v = widget->verticalScrollBar();
        const bool hScroll = h && h->maximum() != h->minimum();
        const bool vScroll = v && v->maximum() != v->minimum();
        showLine(Qt::LeftEdge, hScroll && h->value() > h->minimum(), animated);
        showLine(Qt::RightEdge, hScroll && h->value() < h->maximum(), animated);
        showLine(Qt::TopEdge, vScroll && v->value() > v->minimum(), animated);
        showLine(Qt::BottomEdge, vScroll && v->value() < v->maximum(), animated);
    }

    QPointer<QAbstractScrollArea> widget;
    int scrollEdges = 0;
    QMap<int, QPointer<CChadowLine>> lines;
};

CShadowInner::CShadowInner(QWidget* widget, QObject* parent)
    : QObject(parent)
    , d(new Private(this))
{
    d->widget = qobject_cast<QAbstractScrollArea*>(widget);
    if (widget)
        widget->installEventFilter(d);
}

CShadowInner::~CShadowInner()
{
    for (const QPointer<CChadowLine>& line : qAsConst(d->lines))
        delete line.data();
}

CChadowLine* CShadowInner::line(int edge) const
{
    return d->lines.value(edge);
}

void CShadowInner::setEdgeShadows(int edges, int styleKind, int scrollEdges)
{
    for (const QPointer<CChadowLine>& line : qAsConst(d->lines))
        delete line.data();
    d->lines.clear();
    for (QScrollBar* bar : d->bars())
        bar->disconnect(d);
    if (!d->widget)
        return;
    for (int edge : {Qt::LeftEdge, Qt::TopEdge, Qt::RightEdge, Qt::BottomEdge}) {
        if (edges & edge)
            d->lines.insert(edge, new CChadowLine(styleKind, edge, 2, d->widget, false));
    }
    d->scrollEdges = scrollEdges;
    if (edges == 0)
        return;
    for (QScrollBar* bar : d->bars()) {
        connect(bar, &QAbstractSlider::valueChanged, d, [this] { d->update(true); });
        connect(bar, &QAbstractSlider::rangeChanged, d, [this] { d->update(true); });
    }
    d->update(false);
}
