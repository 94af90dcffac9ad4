#include "uilib/controls/CSlider.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CAnimationBase.h"
#include "uilib/style/CAnimationInactive.h"
#include "uilib/style/CEventGeom.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainterPath>
#include <QPointer>

#include <cmath>
#include <optional>

namespace {

const char* const SliderProperty = "PROP_POINTER_TO_SLIDER";

// Qt registers the conversion of a QPointer to a QObject pointer with the type.
void registerSliderPointer()
{
    static const int type = qRegisterMetaType<QPointer<CSlider>>();
    Q_UNUSED(type);
}

} // namespace

// A handle of the slider: a button that keeps a value and glides to its place.
class SliderButton : public CButton
{
public:
    explicit SliderButton(CSlider* slider)
        : CButton(-1, slider, true)
        , geometry(new CAnimationGeom(this))
        , slider(slider)
    {
        registerSliderPointer();
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
        setFocusProxy(slider);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setStayPressedOutside(true);
        setProperty(SliderProperty, QVariant::fromValue(QPointer<CSlider>(slider)));
        QObject::connect(this, &CWidgetBase::moved, slider, [slider] { slider->update(); });
        applyStyle();
    }

    // The hot spot in the handle; the centre unless one was given.
    QPoint hotSpotPoint() const { return hotSpot ? *hotSpot : QPoint(width() / 2, height() / 2); }
    // The hot spot in the slider's coordinates; a hidden handle counts with its centre.
    QPoint hotSpotIn(QWidget* slider) const
    {
        const QPoint local = isVisible() ? hotSpotPoint() : QPoint(width() / 2, height() / 2);
        return mapTo(window(), local) - slider->mapTo(window(), QPoint(0, 0));
    }

    void applyStyle() override
    {
        CButton::applyStyle();
        geometry->setDuration(currentPalette()->metric(17));
    }
    void textChanged(const QString&) override { setFixedSize(sizeHint()); }
    void secondaryTextChanged(const QString&) override { setFixedSize(sizeHint()); }

    int value = 0;
    std::optional<QPoint> hotSpot;
    CAnimationGeom* geometry;
    QRect target;
    QPointer<CSlider> slider;
};

class CSlider::Private : public QObject
{
public:
    // The order of the trim signals in the tables below.
    enum TrimSignal { Pressed, Moved, Released, Changed };

    struct Trims
    {
        bool enabled = false;
        QPointer<SliderButton> lower;
        QPointer<SliderButton> upper;
        QColor grooveColor;
        QColor fillColor;
        int gap = 1;
        int span = 0;
    };

    struct Tip
    {
        QPointer<SliderButton> handle;
        TipTextFunction text;
        int value = 0;
    };

    explicit Private(CSlider* owner)
        : QObject(owner)
        , slider(owner)
        , disabled(new CAnimationInactive(1, this))
    {
    }

    bool bothTrims() const { return trims && trims->lower && trims->upper; }
    bool trimsOn() const { return bothTrims() && trims->enabled; }
    bool isTrim(const QObject* object) const
    {
        return bothTrims() && (object == trims->lower || object == trims->upper);
    }
    bool isHandle(const QObject* object) const { return object == handle || isTrim(object); }
    int alongTrack(const QSize& size) const { return horizontal ? size.width() : size.height(); }

    QPair<int, int> span() const
    {
        const QRect c = slider->contentsRect();
        const QSize h = handle->size();
        if (horizontal)
            return {c.left() + h.width() / 2, c.left() - h.width() / 2 + c.width()};
        return {c.top() + h.height() / 2, c.top() - h.height() / 2 + c.height()};
    }

    int constrain(int value, const SliderButton* button) const
    {
        int low = slider->minimum();
        int high = slider->maximum();
        if (exclusiveMaximum && high > low)
            --high;
        if (bothTrims()) {
            const int lower = trims->lower->value;
            const int upper = trims->upper->value;
            if (button == handle && trims->enabled) {
                low = lower;
                high = exclusiveMaximum && upper > lower ? upper - 1 : upper;
            } else if (button == trims->lower) {
                low = trims->span > 0 ? qMax(slider->minimum(), upper - trims->span) : slider->minimum();
                high = upper - trims->gap;
            } else if (button == trims->upper) {
                low = lower + trims->gap;
                high = trims->span > 0 ? qMin(slider->maximum(), lower + trims->span) : slider->maximum();
            }
        }
        return qMax(low, qMin(high, value));
    }

    void moveHandle(SliderButton* button, QPoint point, bool animated)
    {
        QWidget* parent = button->parentWidget();
        if (parent && parent != slider)
            point = parent->mapFrom(slider->window(), slider->mapTo(slider->window(), point));
        QRect rect(point - button->hotSpotPoint(), button->size());
        if (parent && parent != slider) {
            rect.moveLeft(qMax(0, qMin(rect.left(), parent->width() - rect.width())));
            rect.moveTop(qMax(0, qMin(rect.top(), parent->height() - rect.height())));
        }
        const bool glide = animated && button->isVisible();
        if (glide && button->geometry->isRunning() && button->target == rect)
            return;
        button->geometry->stop();
        button->target = rect;
        button->geometry->setGeometry(rect, glide);
    }

    bool valueHandleAnimated() const { return animated && handle->isVisible() && dragged != handle; }

    void placeValueHandle(bool animated)
    {
        if (!suspended)
            moveHandle(handle, slider->positionFromValue(slider->sliderPosition()), animated);
    }

    void placeTrims(bool animated)
    {
        if (!bothTrims() || suspended)
            return;
        for (SliderButton* trim : {trims->lower.data(), trims->upper.data()})
            moveHandle(trim, slider->positionFromValue(trim->value), animated);
    }

    void emitTrim(const SliderButton* trim, TrimSignal which, int value)
    {
        using Signal = void (CSlider::*)(int);
        static const Signal lower[] = {&CSlider::lowerTrimPressed, &CSlider::lowerTrimMoved,
                                       &CSlider::lowerTrimReleased, &CSlider::lowerTrimChanged};
        static const Signal upper[] = {&CSlider::upperTrimPressed, &CSlider::upperTrimMoved,
                                       &CSlider::upperTrimReleased, &CSlider::upperTrimChanged};
        if (!slider->signalsBlocked())
            (slider->*(trim == trims->lower ? lower : upper)[which])(value);
    }

    // Stores a trim's new value and moves its handle at once; false when it did not change.
    bool storeTrim(SliderButton* trim, int value)
    {
        if (trim->value == value)
            return false;
        trim->value = value;
        if (!suspended)
            moveHandle(trim, slider->positionFromValue(value), false);
        return true;
    }

    // Keeps the value inside the trims after one moved.
    void reapplyValueConstraint()
    {
        const int value = constrain(slider->value(), handle);
        if (value != slider->value())
            slider->setValue(value);
        placeValueHandle(false);
    }

    SliderButton* createHandle()
    {
        auto* button = new SliderButton(slider);
        button->installEventFilter(this);
        return button;
    }

    Trims& ensureTrims()
    {
        if (trims)
            return *trims;
        trims.reset(new Trims);
        for (QPointer<SliderButton>* trim : {&trims->lower, &trims->upper}) {
            *trim = createHandle();
            (*trim)->hide();
        }
        trims->lower->value = slider->minimum();
        trims->upper->value = slider->maximum();
        geometryWatcher = new CEventGeom(slider, 0);
        connect(geometryWatcher, &CEventGeom::geometryChanged, this, [this] { placeTrims(false); });
        return *trims;
    }

    Tip& ensureTip()
    {
        if (tip)
            return *tip;
        tip.reset(new Tip);
        QWidget* window = slider->window();
        auto* button = new SliderButton(slider);
        button->setParent(window == slider ? static_cast<QWidget*>(slider) : window);
        button->setAttribute(Qt::WA_TransparentForMouseEvents);
        button->hide();
        tip->handle = button;
        return *tip;
    }

    void showTip(int value)
    {
        SliderButton* button = ensureTip().handle;
        QString text = QString::number(value);
        QString secondary;
        if (tip->text)
            tip->text(value, text, secondary);
        button->setText(text);
        button->setSecondaryText(secondary);
        button->setFixedSize(button->sizeHint());
        tip->value = value;
        // The tip sits above the track, clear of the value handle.
        const int gap = alongTrack(handle->size().transposed()) / 2 + 2;
        button->hotSpot = horizontal ? QPoint(button->width() / 2, button->height() + gap)
                                     : QPoint(button->width() + gap, button->height() / 2);
        if (!suspended)
            moveHandle(button, slider->positionFromValue(value), false);
        if (button->isHidden()) {
            button->show();
            button->raise();
        }
    }

    void hideTip()
    {
        if (tip && tip->handle)
            tip->handle->hide();
    }

    QPoint inSlider(QWidget* button, const QPoint& local) const
    {
        return slider->mapFromGlobal(button->mapToGlobal(local));
    }

    void beginDrag(SliderButton* button, QMouseEvent* event)
    {
        dragged = button;
        dragOffset = button->hotSpotIn(slider) - inSlider(button, event->pos());
        slider->setSliderDown(true);
        if (button == handle)
            return;
        const int value = constrain(button->value, button);
        storeTrim(button, value);
        emitTrim(button, Pressed, button->value);
    }

    void dragTo(SliderButton* button, QMouseEvent* event)
    {
        const int value = constrain(slider->valueFromPosition(inSlider(button, event->pos()) + dragOffset), button);
        if (button == handle) {
            slider->setSliderPosition(value);
            placeValueHandle(false);
            if (tip)
                showTip(slider->value());
            return;
        }
        if (!storeTrim(button, value))
            return;
        emitTrim(button, Moved, value);
        emitTrim(button, Changed, value);
        reapplyValueConstraint();
    }

    void endDrag(SliderButton* button)
    {
        if (QWidget::mouseGrabber() == button)
            button->releaseMouse();
        lastReleased = button;
        dragged = nullptr;
        dragOffset = QPoint();
        slider->setSliderDown(false);
        if (button != handle)
            emitTrim(button, Released, button->value);
    }

    bool pressAllowed(QMouseEvent* event) const
    {
        return slider->isEnabled() && slider->maximum() > slider->minimum() && event->button() == Qt::LeftButton
               && event->buttons() == Qt::LeftButton && !suspended;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!isHandle(watched))
            return QObject::eventFilter(watched, event);
        auto* button = static_cast<SliderButton*>(watched);
        auto* mouse = static_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (pressAllowed(mouse))
                beginDrag(button, mouse);
            break;
        case QEvent::MouseMove:
            if (dragged == button)
                dragTo(button, mouse);
            break;
        case QEvent::MouseButtonRelease:
            if (dragged == button && mouse->button() == Qt::LeftButton)
                endDrag(button);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

    // Left and Right move the last released trim; false when the key is not handled here.
    bool stepTrim(QKeyEvent* event)
    {
        const int key = event->key();
        const bool swallowed = key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Up
                               || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
        if (swallowed)
            return true;
        if (key != Qt::Key_Left && key != Qt::Key_Right)
            return false;
        SliderButton* trim = lastReleased;
        if (!trim || !isTrim(trim))
            return true;
        const int step = event->modifiers() & Qt::ShiftModifier ? slider->pageStep() : slider->singleStep();
        const int value = constrain(trim->value + (key == Qt::Key_Left ? -step : step), trim);
        if (!storeTrim(trim, value))
            return true;
        emitTrim(trim, Moved, value);
        emitTrim(trim, Changed, value);
        slider->setValue(value);
        placeValueHandle(false);
        return true;
    }

    void updateHoverPosition(QEvent* event)
    {
        int position = -1;
        const auto* hover = static_cast<QHoverEvent*>(event);
        const bool eligible = markCount == -2 && slider->isEnabled() && !handle->isHovered() && !handle->isDown()
                              && event->type() != QEvent::HoverLeave;
        if (eligible && slider->contentsRect().contains(hover->pos())) {
            const QPoint point = slider->positionFromValue(slider->valueFromPosition(hover->pos()));
            position = horizontal ? point.x() : point.y();
        }
        if (position == hoverPosition)
            return;
        hoverPosition = position;
        slider->update();
    }

    QRectF grooveRect() const
    {
        QRectF groove = slider->contentsRect();
        if (horizontal) {
            groove.setTop(groove.top() + std::ceil((groove.height() - grooveThickness) / 2.0));
            groove.setHeight(grooveThickness);
        } else {
            groove.setLeft(groove.left() + std::ceil((groove.width() - grooveThickness) / 2.0));
            groove.setWidth(grooveThickness);
        }
        if (wholeTrack()) {
            const double half = alongTrack(handle->size()) / 2;
            groove = horizontal ? groove.adjusted(-half, 0, half, 0) : groove.adjusted(0, -half, 0, half);
        }
        return groove;
    }

    bool wholeTrack() const { return markSpacing == 1 || (markSpacing == 2 && trimsOn()); }

    // The fill rectangle and its colours, from the trims or from the value handle.
    QRectF fillRect(const QRectF& groove, QColor& grooveColour, QColor& fillColour) const
    {
        QRectF fill = groove;
        grooveColour = grooveColor;
        fillColour = fillColor;
        if (trimsOn()) {
            grooveColour = trims->grooveColor;
            fillColour = trims->fillColor;
            const QPoint low = trims->lower->hotSpotIn(slider);
            const QPoint high = trims->upper->hotSpotIn(slider);
            if (horizontal) {
                fill.setLeft(low.x());
                fill.setRight(high.x());
            } else {
                fill.setBottom(low.y());
                fill.setTop(high.y());
            }
            return fill;
        }
        if (slider->value() == slider->minimum() && markCount != 1)
            return QRectF();
        const QPoint end = handle->hotSpotIn(slider);
        if (horizontal)
            fill.setRight(end.x());
        else
            fill.setTop(end.y());
        if (markCount == 1) {
            if (horizontal)
                fill.setLeft(groove.center().x());
            else
                fill.setBottom(groove.center().y());
            fill = fill.normalized();
        }
        return fill;
    }

    QVector<double> markPositions(const QRectF& groove, const QRectF& fill, const QColor& colour) const
    {
        QVector<double> positions;
        if (markCount == 0 || markSize.isEmpty() || !horizontal || !colour.isValid() || colour.alpha() < 1)
            return positions;
        if (markCount == -2) {
            if (hoverPosition >= 0)
                positions << qBound(groove.left(), double(hoverPosition), groove.right());
        } else if (markCount == -1) {
            if (!fill.isEmpty())
                positions << fill.left() << fill.right();
        } else if (markCount == 1) {
            positions << groove.center().x();
        } else {
            const double inset = wholeTrack() ? 0.0 : handle->width() / 2;
            const double start = groove.left() + inset;
            const double end = groove.right() - inset;
            for (int i = 0; i < markCount; ++i)
                positions << start + (end - start) * i / (markCount - 1);
        }
        return positions;
    }

    void drawMarks(CPainterScope& scope, const QVector<double>& positions, const QRectF& groove,
                   const QColor& colour) const
    {
        QPainter* painter = scope.painter();
        const double scale = scope.scale();
        const double radius = qMin(markSize.height() / 2.0, std::round(markRadius * scale) / scale);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setBrush(colour);
        for (double x : positions) {
            QRectF mark(QPointF(0, 0), QSizeF(markSize));
            mark.moveCenter(QPointF(x, groove.center().y()));
            painter->drawRoundedRect(snapToDevicePixels(mark, scale), radius, radius);
        }
    }

    void drawFill(QPainter* painter, const QRectF& groove, const QRectF& fill, const QColor& colour) const
    {
        if (fill.isEmpty())
            return;
        int left = grooveRadius;
        int right = grooveRadius;
        if (markCount == 1 && grooveRadius != 0 && !markSize.isEmpty()) {
            if (fill.left() >= groove.center().x() - 1)
                left = 0;
            else
                right = 0;
        }
        painter->setRenderHint(QPainter::Antialiasing, grooveRadius > 0);
        painter->setBrush(colour);
        painter->drawPath(roundedRectPath(fill, left, right, right, left));
    }

    CSlider* slider;
    CAnimationInactive* disabled;
    bool horizontal = true;
    bool animated = true;
    int hoverPosition = -1;
    std::optional<QPoint> pendingPress;
    QRect pressRect;
    int grooveThickness = 2;
    int grooveRadius = 0;
    QColor grooveColor;
    QColor fillColor;
    int pressMode = 0;
    int markCount = 0;
    int markSpacing = 0;
    QSize markSize;
    int markRadius = 0;
    QColor markColor;
    SliderButton* handle = nullptr;
    bool exclusiveMaximum = false;
    QPointer<SliderButton> dragged;
    QPointer<SliderButton> lastReleased;
    QPoint dragOffset;
    CEventGeom* geometryWatcher = nullptr;
    std::unique_ptr<Trims> trims;
    std::unique_ptr<Tip> tip;
    bool suspended = false;
};

CSlider::CSlider(int styleKind, Qt::Orientation orientation, QWidget* parent, bool deferStyle)
    : QAbstractSlider(parent)
    , CDrawable(styleKind)
    , d(new Private(this))
{
    d->disabled->setWidget(this);
    d->handle = d->createHandle();
    connect(d->handle, &CWidgetBase::resized, this, [this] { d->placeValueHandle(false); });
    connect(d->handle, &CButton::hovered, this, [this] {
        if (d->tip && d->handle->isEnabled())
            d->showTip(value());
    });
    connect(this, &CSlider::leaved, this, [this] {
        if (!d->handle->isDown())
            d->hideTip();
    });
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setTracking(true);
    setOrientation(orientation);
    d->horizontal = orientation == Qt::Horizontal;
    if (d->horizontal)
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    else
        setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    if (!deferStyle)
        applyStyle();
}

CSlider::~CSlider()
{
    // The handles go first, while their signals still find a whole slider.
    if (d->tip)
        delete d->tip->handle;
    if (d->trims) {
        delete d->trims->lower;
        delete d->trims->upper;
    }
    delete d->handle;
    delete d;
}

void CSlider::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleSlider(this, styleKind());
}

void CSlider::setAnimated(bool animated) { d->animated = animated; }
bool CSlider::isAnimated() const { return d->animated; }
void CSlider::setPressMode(int mode) { d->pressMode = mode; }
int CSlider::pressMode() const { return d->pressMode; }
CButton* CSlider::handleButton() const { return d->handle; }
bool CSlider::isExclusiveMaximum() const { return d->exclusiveMaximum; }
int CSlider::markCount() const { return d->markCount; }
int CSlider::hoverPosition() const { return d->hoverPosition; }
bool CSlider::areTrimsEnabled() const { return d->trims && d->trims->enabled; }
int CSlider::lowerTrim() const { return d->trims && d->trims->lower ? d->trims->lower->value : minimum(); }
int CSlider::upperTrim() const { return d->trims && d->trims->upper ? d->trims->upper->value : maximum(); }
CButton* CSlider::lastReleasedHandle() const { return d->lastReleased; }

void CSlider::setGrooveColors(const QColor& groove, const QColor& fill)
{
    if (groove == d->grooveColor && fill == d->fillColor)
        return;
    d->grooveColor = groove;
    d->fillColor = fill;
    update();
}

void CSlider::setGrooveMetrics(int thickness, int radius)
{
    if (thickness == d->grooveThickness && radius == d->grooveRadius)
        return;
    d->grooveThickness = thickness;
    d->grooveRadius = radius;
    update();
}

void CSlider::setValueSilently(int value)
{
    if (value != this->value()) {
        const bool blocked = blockSignals(true);
        setValue(value);
        blockSignals(blocked);
    }
    update();
}

void CSlider::setExclusiveMaximum(bool exclusive)
{
    d->exclusiveMaximum = exclusive;
    d->reapplyValueConstraint();
}

void CSlider::setPositioningSuspended(bool suspended)
{
    d->suspended = suspended;
}

void CSlider::setMarks(int count, int spacingMode)
{
    d->markCount = count;
    d->markSpacing = spacingMode;
    update();
}

void CSlider::setMarkLook(const QSize& size, int radius, const QColor& color)
{
    d->markSize = size;
    d->markRadius = radius;
    d->markColor = color;
    update();
}

void CSlider::setTrimsVisible(bool visible)
{
    Private::Trims& trims = d->ensureTrims();
    trims.lower->setVisible(visible);
    trims.upper->setVisible(visible);
    d->placeTrims(false);
    update();
}

void CSlider::setTrimsEnabled(bool enabled)
{
    d->ensureTrims().enabled = enabled;
    d->reapplyValueConstraint();
    update();
}

void CSlider::setTrimValues(int lower, int upper)
{
    Private::Trims& trims = d->ensureTrims();
    const int low = qBound(minimum(), lower, maximum());
    const int high = qBound(low, upper, maximum());
    if (d->storeTrim(trims.lower, low))
        d->emitTrim(trims.lower, Private::Changed, low);
    if (d->storeTrim(trims.upper, high))
        d->emitTrim(trims.upper, Private::Changed, high);
    d->reapplyValueConstraint();
    update();
}

void CSlider::setTrimGap(int gap) { d->ensureTrims().gap = gap; }
void CSlider::setTrimSpan(int span) { d->ensureTrims().span = span; }

void CSlider::setTrimColors(const QColor& groove, const QColor& fill)
{
    Private::Trims& trims = d->ensureTrims();
    trims.grooveColor = groove;
    trims.fillColor = fill;
    update();
}

CButton* CSlider::trimHandle(bool upper)
{
    Private::Trims& trims = d->ensureTrims();
    return upper ? trims.upper : trims.lower;
}

void CSlider::setTipTextFunction(const TipTextFunction& function)
{
    d->ensureTip().text = function;
}

CButton* CSlider::tipButton()
{
    return d->ensureTip().handle;
}

void CSlider::showTip(int value)
{
    d->showTip(value);
}

void CSlider::hideTip()
{
    d->hideTip();
}

int CSlider::valueFromPosition(const QPoint& position) const
{
    const QPair<int, int> span = d->span();
    const int length = span.second - span.first;
    if (length <= 0)
        return d->constrain(minimum(), nullptr);
    const int coordinate = d->horizontal ? position.x() : height() - position.y();
    const double fraction = double(coordinate - span.first) / length;
    return d->constrain(qRound(fraction * (double(maximum()) - minimum())) + minimum(), nullptr);
}

QPoint CSlider::positionFromValue(int value) const
{
    const QPair<int, int> span = d->span();
    int pixel = span.first;
    if (maximum() > minimum()) {
        const double fraction = (double(d->constrain(value, nullptr)) - minimum()) / (double(maximum()) - minimum());
        pixel += qRound(fraction * (span.second - span.first));
    }
    return d->horizontal ? QPoint(pixel, height() / 2) : QPoint(width() / 2, height() - pixel);
}

QSize CSlider::minimumSizeHint() const
{
    const QSize handle = d->handle->size();
    return d->horizontal ? QSize(60, handle.height()) : QSize(handle.width(), 60);
}

QSize CSlider::sizeHint() const
{
    const QSize least = minimumSizeHint();
    return d->horizontal ? QSize(2 * least.width(), least.height()) : QSize(least.width(), 2 * least.height());
}

bool CSlider::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        if (isEnabled())
            emit hovered();
        break;
    case QEvent::Leave:
        emit leaved();
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
        d->updateHoverPosition(event);
        break;
    case QEvent::EnabledChange:
        d->hoverPosition = -1;
        emit leaved();
        break;
    case QEvent::Show:
    case QEvent::ShowToParent:
        d->handle->show();
        break;
    case QEvent::Hide:
    case QEvent::HideToParent:
        d->handle->hide();
        break;
    default:
        break;
    }
    return QAbstractSlider::event(event);
}

void CSlider::mousePressEvent(QMouseEvent* event)
{
    if (!d->pressAllowed(event)) {
        event->ignore();
        return;
    }
    event->accept();
    if (d->handle->isHidden())
        d->handle->show();
    const int target = d->constrain(valueFromPosition(event->pos()), d->handle);
    QWidget* popup = QApplication::activePopupWidget();
    if (popup && popup == window()) {
        if (target == value())
            return;
        setSliderDown(true);
        setValue(target);
        setSliderDown(false);
        return;
    }
    if (d->pressMode == 0)
        setSliderDown(true);
    if (target != value()) {
        const bool animated = d->animated;
        d->animated = false;
        setSliderPosition(target);
        if (!hasTracking() && d->pressMode == 1)
            triggerAction(SliderMove);
        else if (!hasTracking())
            d->placeValueHandle(false);
        d->animated = animated;
    }
    d->pendingPress = event->pos();
    d->pressRect = QRect(mapToGlobal(QPoint(0, 0)), size());
}

void CSlider::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
    if (d->pendingPress) {
        const QPoint press = *d->pendingPress;
        d->pendingPress.reset();
        if (QRect(mapToGlobal(QPoint(0, 0)), size()) != d->pressRect)
            return;
        // The value handle takes over the drag.
        SliderButton* handle = d->handle;
        handle->grabMouse();
        const QPoint pressGlobal = mapToGlobal(press);
        QMouseEvent handPress(QEvent::MouseButtonPress, handle->mapFromGlobal(pressGlobal), pressGlobal,
                              Qt::LeftButton, Qt::LeftButton, event->modifiers());
        QCoreApplication::sendEvent(handle, &handPress);
        QMouseEvent handMove(QEvent::MouseMove, handle->mapFromGlobal(event->globalPos()), event->globalPos(),
                             Qt::NoButton, event->buttons(), event->modifiers());
        QCoreApplication::sendEvent(handle, &handMove);
        event->accept();
    }
    if (d->tip)
        d->showTip(valueFromPosition(event->pos()));
}

void CSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (d->pressMode == 0)
        setSliderDown(false);
    d->pendingPress.reset();
    event->accept();
}

void CSlider::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
    if (d->dragged)
        return;
    if (!d->trimsOn()) {
        QAbstractSlider::keyPressEvent(event);
        return;
    }
    if (d->stepTrim(event))
        event->accept();
}

void CSlider::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    QColor grooveColour;
    QColor fillColour;
    const QRectF groove = d->grooveRect();
    const QRectF fill = d->fillRect(groove, grooveColour, fillColour);
    const double scale = scope.scale();
    scope.painter()->setOpacity(d->disabled->opacity());
    drawTrack(scope, snapToDevicePixels(groove, scale), grooveColour,
              fill.isEmpty() ? QRectF() : snapToDevicePixels(fill, scale), fillColour);
}

void CSlider::drawTrack(CPainterScope& scope, const QRectF& groove, const QColor& grooveColor, const QRectF& fill,
                        const QColor& fillColor)
{
    QPainter* painter = scope.painter();
    const QColor markColour = d->markColor.isValid() ? d->markColor : fillColor;
    const QVector<double> marks = d->markPositions(groove, fill, markColour);
    painter->setPen(Qt::NoPen);
    painter->setBrush(grooveColor);
    painter->setRenderHint(QPainter::Antialiasing, d->grooveRadius > 0);
    painter->drawRoundedRect(groove, d->grooveRadius, d->grooveRadius);
    if (d->markCount != -2) {
        d->drawMarks(scope, marks, groove, markColour);
        d->drawFill(painter, groove, fill, fillColor);
        return;
    }
    d->drawFill(painter, groove, fill, fillColor);
    d->drawMarks(scope, marks, groove, markColour);
}

void CSlider::resizeEvent(QResizeEvent* event)
{
    d->placeValueHandle(d->handle->geometry->isRunning());
    QAbstractSlider::resizeEvent(event);
}

void CSlider::sliderChange(SliderChange change)
{
    switch (change) {
    case SliderRangeChange:
        if (d->bothTrims()) {
            SliderButton* lower = d->trims->lower;
            SliderButton* upper = d->trims->upper;
            if (d->storeTrim(lower, qBound(minimum(), lower->value, maximum())))
                d->emitTrim(lower, Private::Changed, lower->value);
            if (d->storeTrim(upper, qBound(minimum(), upper->value, maximum())))
                d->emitTrim(upper, Private::Changed, upper->value);
        }
        d->placeValueHandle(d->valueHandleAnimated());
        break;
    case SliderOrientationChange:
        d->horizontal = orientation() == Qt::Horizontal;
        d->placeValueHandle(false);
        break;
    case SliderValueChange:
        if (!d->dragged)
            d->placeValueHandle(d->valueHandleAnimated());
        break;
    default:
        break;
    }
    d->placeTrims(change == SliderRangeChange);
    QAbstractSlider::sliderChange(change);
}
