#include "uilib/controls/CLinEdit.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

// The edit's state; it also watches the trailing widgets for showing, hiding and resizing.
class CLinEdit::Private : public QObject
{
public:
    explicit Private(CLinEdit* owner)
        : QObject(owner), edit(owner)
    {
    }

    CLinEdit* edit;
    int trailingSpacing = 0;
    bool maskWhenUnfocused = false;
    CIcon* icon = nullptr;
    QMargins iconMargins;
    ColorSet iconColors;
    QColor separatorColor;
    bool fixedCharacterWidth = true;
    QList<QPointer<QWidget>> trailing;
    CButton* clearButton = nullptr;
    bool escapeClears = false;
    CAnimationWidget* animation = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::Resize:
            if (watched->parent() == edit)
                edit->updateTextMargins();
            break;
        default: break;
        }
        return false;
    }
};

CLinEdit::CLinEdit(int styleKind, QWidget* parent)
    : QLineEdit(parent)
    , CPanelDraw(this)
    , CDrawable(styleKind)
    , CEventFocus1(this)
    , d(new Private(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QLineEdit::textChanged, this, &CLinEdit::onTextChanged);
    setFocusPolicy(Qt::StrongFocus);
    d->animation = new CAnimationWidget(2, this);
    d->animation->setWidget(this);
    new CMenuDraw(this, 41);
    applyStyle();
}

CLinEdit::~CLinEdit()
{
    // The watcher goes before the widgets it watches.
    delete d;
    d = nullptr;
}

void CLinEdit::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleLineEdit(this, styleKind());
}

CAnimationWidget* CLinEdit::animation() const { return d->animation; }

void CLinEdit::setMargins(const QMargins& margins)
{
    CPanelDraw::setMargins(margins);
    updateTextMargins();
}

void CLinEdit::setPadding(const QMargins& padding)
{
    CPanelDraw::setPadding(padding);
    updateTextMargins();
}

void CLinEdit::geometryChanged()
{
    // Border widths count in the text margins too.
    updateTextMargins();
}

QWidget* CLinEdit::addTrailingWidget(QWidget* widget)
{
    if (!widget || d->trailing.contains(widget))
        return widget;
    widget->setParent(this);
    widget->installEventFilter(d);
    d->trailing.append(widget);
    updateTextMargins();
    return widget;
}

QList<QWidget*> CLinEdit::trailingWidgets() const
{
    QList<QWidget*> widgets;
    for (const QPointer<QWidget>& widget : d->trailing) {
        if (widget && widget->parent() == this)
            widgets.append(widget);
    }
    return widgets;
}

void CLinEdit::addClearButton(bool escapeClears)
{
    if (d->clearButton)
        return;
    d->clearButton = new CButton(26, currentPalette()->titleBarIcon(4), this);
    d->clearButton->setVisible(!text().isEmpty());
    addTrailingWidget(d->clearButton);
    connect(d->clearButton, &CButton::clicked, this, &CLinEdit::clearByButton);
    d->escapeClears = escapeClears;
    if (escapeClears)
        connect(this, &CLinEdit::cancelPressed, this, &CLinEdit::clearByButton);
}

CButton* CLinEdit::clearButton() const { return d->clearButton; }

void CLinEdit::clearByButton()
{
    clear();
    emit textEdited(QString());
    if (d->clearButton)
        d->clearButton->hide();
}

void CLinEdit::setIcon(const QString& name)
{
    CIcon* icon = name.isEmpty() ? nullptr : CIconRepo::instance()->icon(name);
    if (icon && (icon->defaultSize().isEmpty() || !icon->isValid()))
        icon = nullptr;
    if (icon == d->icon)
        return;
    d->icon = icon;
    updateTextMargins();
}

CIcon* CLinEdit::icon() const { return d->icon; }

void CLinEdit::setIconMargins(const QMargins& margins)
{
    if (margins == d->iconMargins)
        return;
    d->iconMargins = margins;
    updateTextMargins();
}

void CLinEdit::setIconMargins(int left, int top, int right, int bottom)
{
    setIconMargins(QMargins(left, top, right, bottom));
}

QMargins CLinEdit::iconMargins() const { return d->iconMargins; }

void CLinEdit::setIconColors(const ColorSet& colors)
{
    if (colors == d->iconColors)
        return;
    d->iconColors = colors;
    update();
}

ColorSet CLinEdit::iconColors() const { return d->iconColors; }

void CLinEdit::setSeparatorColor(const QColor& color)
{
    if (color == d->separatorColor)
        return;
    d->separatorColor = color;
    update();
}

void CLinEdit::setTrailingSpacing(int spacing)
{
    if (spacing == d->trailingSpacing)
        return;
    d->trailingSpacing = spacing;
    updateTextMargins();
}

int CLinEdit::trailingSpacing() const { return d->trailingSpacing; }

void CLinEdit::setMaskWhenUnfocused(bool mask)
{
    if (mask == d->maskWhenUnfocused)
        return;
    d->maskWhenUnfocused = mask;
    applyEchoRule();
}

bool CLinEdit::maskWhenUnfocused() const { return d->maskWhenUnfocused; }

void CLinEdit::applyEchoRule()
{
    if (d->maskWhenUnfocused)
        setEchoMode(hasFocus() ? QLineEdit::Normal : QLineEdit::Password);
}

void CLinEdit::setFixedCharacterWidth(bool fixed)
{
    if (fixed == d->fixedCharacterWidth)
        return;
    d->fixedCharacterWidth = fixed;
    updateGeometry();
}

bool CLinEdit::fixedCharacterWidth() const { return d->fixedCharacterWidth; }

int CLinEdit::trailingWidth() const
{
    int width = 0;
    for (QWidget* widget : trailingWidgets()) {
        if (widget->isVisibleTo(this))
            width += widget->width();
    }
    return width >= 1 ? width + d->trailingSpacing : 0;
}

void CLinEdit::updateTextMargins()
{
    if (!d)
        return;
    const QMargins frame = borderWidths() + padding() + margins();
    int left = frame.left() - 2;
    if (d->icon)
        left += d->icon->defaultSize().width() + d->iconMargins.left() + d->iconMargins.right();
    const int right = frame.right() - 2 + trailingWidth();
    setTextMargins(left, 0, right, 0);
    layoutTrailing();
    updateGeometry();
    update();
}

void CLinEdit::layoutTrailing()
{
    const QMargins sides = borderWidths() + margins();
    const int height = qMax(0, this->height() - sides.top() - sides.bottom());
    int x = width() - sides.right();
    for (QWidget* widget : trailingWidgets()) {
        x -= widget->width();
        widget->setFixedHeight(height);
        widget->move(x, sides.top());
    }
}

QSize CLinEdit::hintFor(bool minimum) const
{
    const QSize panel = CPanelDraw::sizeHint();
    int width = panel.width();
    int height = panel.height();
    if (d->icon)
        width += d->icon->defaultSize().width() + d->iconMargins.left() + d->iconMargins.right();
    const QFontMetrics metrics(font());
    const int x = metrics.horizontalAdvance(QLatin1Char('x'));
    if (d->fixedCharacterWidth) {
        width += x * currentPalette()->metric(26);
    } else if (minimum) {
        width += x;
    } else {
        const QString shown = text().isEmpty() ? placeholderText() : text();
        width += qMax(metrics.horizontalAdvance(shown), metrics.horizontalAdvance(placeholderText()));
    }
    height += metrics.height();
    width += trailingWidth() + 3;
    return QSize(width, height);
}

QSize CLinEdit::sizeHint() const { return hintFor(false); }
QSize CLinEdit::minimumSizeHint() const { return hintFor(true); }

void CLinEdit::onTextChanged(const QString& text)
{
    if (d->clearButton && d->clearButton->isVisibleTo(this) == text.isEmpty())
        d->clearButton->setVisible(!text.isEmpty());
    const QSizePolicy::Policy policy = sizePolicy().horizontalPolicy();
    if ((policy & QSizePolicy::ShrinkFlag) || policy == QSizePolicy::Fixed)
        updateGeometry();
}

bool CLinEdit::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        applyEchoRule();
        emit focused();
        break;
    case QEvent::FocusOut:
        applyEchoRule();
        emit focusLost();
        break;
    case QEvent::Move:
    case QEvent::ParentChange: layoutTrailing(); break;
    default: break;
    }
    return QLineEdit::event(event);
}

void CLinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel) && !text().isEmpty() && d->escapeClears && d->clearButton) {
        emit cancelPressed();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QRect CLinEdit::frameInside() const
{
    return QWidget::rect().marginsRemoved(borderWidths() + margins());
}

void CLinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    QRect text = frameInside();
    if (d->icon)
        text.setLeft(text.left() + d->icon->defaultSize().width() + d->iconMargins.left() + d->iconMargins.right());
    text.setRight(text.right() - trailingWidth());
    setCursor(text.contains(event->pos()) ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void CLinEdit::paintEvent(QPaintEvent* event)
{
    {
        CPainterScope scope(this);
        CPanelDraw::paint(scope, *d->animation);
    }
    QLineEdit::paintEvent(event);
    if (!d->icon)
        return;
    CPainterScope scope(this);
    QPainter* painter = scope.painter();
    const QRect inside = frameInside();
    const QMargins& m = d->iconMargins;
    const QRect column(inside.left(), inside.top(), m.left() + d->icon->defaultSize().width() + m.right(),
                       inside.height());
    const QRect place = column.marginsRemoved(QMargins(m.left(), m.top(), m.right(), m.bottom()));
    const QColor color = animatedStateColor(d->iconColors, *d->animation);
    d->icon->drawAligned(painter, place, Qt::AlignLeft | Qt::AlignVCenter, d->icon->defaultSize(),
                         color.isValid() ? color : QColor(), *d->animation);
    if (d->separatorColor.isValid())
        painter->fillRect(snapToDevicePixels(QRectF(column.right(), column.top(), 1, column.height()), scope.scale()),
                          d->separatorColor);
}

void CLinEdit::resizeEvent(QResizeEvent* event)
{
    CPanelDraw::resize(size());
    QWidget::resizeEvent(event);
    layoutTrailing();
}
