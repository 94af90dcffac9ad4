#include "pages/PopupOverlay.h"

#include "uilib/style/CEventGeom.h"
#include "uilib/style/LibUtils.h"

#include <QEvent>
#include <QTimer>

namespace {

constexpr int kDefaultTimeoutMs = 5000;

} // namespace

class PopupOverlay::Private : public QObject
{
public:
    explicit Private(PopupOverlay* overlay)
        : QObject(overlay)
        , overlay(overlay)
        , watcher(new CEventGeom(overlay->parentWidget(), 0))
        , hideTimer(new QTimer(this))
    {
        watcher->setParent(this);
        hideTimer->setSingleShot(true);
        hideTimer->setInterval(kDefaultTimeoutMs);
    }

    PopupOverlay* overlay;
    CEventGeom* watcher;
    Qt::Alignment alignment;
    QMargins margins;
    QTimer* hideTimer;
};

PopupOverlay::PopupOverlay(int styleKind, QWidget* parent)
    : CWidgetTextIcon(styleKind, parent, true)
    , d(new Private(this))
{
    setFocusPolicy(Qt::NoFocus);
    hideAnimated();
    connect(d->hideTimer, &QTimer::timeout, this, [this] { hideAnimated(); });
    connect(d->watcher, &CEventGeom::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            setVisibleAnimated(false, false);
    });
    connect(d->watcher, &CEventGeom::geometryChanged, this, [this] { updatePlacement(); });
    connect(this, &CWidgetBase::hided, d->hideTimer, &QTimer::stop);
    applyStyle();
}

PopupOverlay::~PopupOverlay() = default;

void PopupOverlay::showText(const QString& text)
{
    setText(text);
    if (text.isEmpty())
        hideAnimated();
    else
        showAnimated();
    d->hideTimer->start();
}

void PopupOverlay::setAlignment(Qt::Alignment alignment)
{
    if (alignment == d->alignment)
        return;
    d->alignment = alignment;
    updatePlacement();
}

Qt::Alignment PopupOverlay::alignment() const { return d->alignment; }

void PopupOverlay::setOverlayMargins(const QMargins& margins)
{
    if (margins == d->margins)
        return;
    d->margins = margins;
    updatePlacement();
}

QMargins PopupOverlay::overlayMargins() const { return d->margins; }
void PopupOverlay::setTimeout(int ms) { d->hideTimer->setInterval(ms); }
QTimer* PopupOverlay::hideTimer() const { return d->hideTimer; }

QSize PopupOverlay::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(CWidgetTextIcon::sizeHint());
}

void PopupOverlay::geometryChanged()
{
    CWidgetTextIcon::geometryChanged();
    updatePlacement();
}

void PopupOverlay::lookChanged()
{
    CWidgetTextIcon::lookChanged();
    updatePlacement();
}

bool PopupOverlay::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest) {
        updatePlacement();
        QTimer::singleShot(0, this, [this] { updatePlacement(); });
    }
    return CWidgetTextIcon::event(event);
}

void PopupOverlay::updatePlacement()
{
    // Hooks of the drawing part run while the base is built.
    if (!d || !parentWidget())
        return;
    const QRect area = parentWidget()->rect().marginsRemoved(d->margins);
    setGeometry(alignRectInArea(sizeHint(), d->alignment, area, false));
}
