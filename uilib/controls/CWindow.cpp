#include "uilib/controls/CWindow.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CBorder.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/COverlay.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/style/CAnimationBase.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CPlatformIntegration.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/GlobRect.h"
#include "uilib/style/WindowRegion.h"

#include <QBoxLayout>
#include <QCursor>
#include <QDataStream>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <optional>

namespace {

// A press must move this far (Manhattan length) before it drags the window.
constexpr int kBodyDragDistance = 4;

QString geometryKey(const QString& objectName)
{
    return objectName + QStringLiteral("_Geometry");
}

CSettingsStorage* appSettings()
{
    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
    return app ? app->settings() : nullptr;
}

// Runs `work` on the settings outside any group, then reopens the groups that were open.
template <class Work>
void atTopLevel(QSettings* settings, const Work& work)
{
    const QString group = settings->group();
    while (!settings->group().isEmpty())
        settings->endGroup();
    work();
    if (!group.isEmpty())
        settings->beginGroup(group);
}

Qt::WindowFlags windowFlagsFor(int options)
{
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    if (options & CWindow::TitleBar) {
        flags |= Qt::WindowCloseButtonHint;
        if (options & CWindow::MinimiseButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (options & CWindow::MaximiseButton)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (options & CWindow::Popup)
        flags |= Qt::Popup;
    return flags;
}

int titleBarButtons(Qt::WindowFlags flags)
{
    int bits = 0;
    if (flags & Qt::WindowCloseButtonHint)
        bits |= CTitleBar::Close;
    if (flags & Qt::WindowMinimizeButtonHint)
        bits |= CTitleBar::Minimise;
    if (flags & Qt::WindowMaximizeButtonHint)
        bits |= CTitleBar::Maximise;
    return bits;
}

bool onAnyScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&rect](QScreen* screen) { return screen->geometry().intersects(rect); });
}

// The frame rectangle a QWidget::saveGeometry() block was taken at; empty for other bytes.
QRect savedFrameGeometry(const QByteArray& bytes)
{
    QDataStream stream(bytes);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 majorVersion = 0;
    quint16 minorVersion = 0;
    QRect frame;
    stream >> magic >> majorVersion >> minorVersion >> frame;
    return magic == 0x1D9D0CB && stream.status() == QDataStream::Ok ? frame : QRect();
}

QScreen* screenOrPrimary(QScreen* screen)
{
    return screen ? screen : QGuiApplication::primaryScreen();
}

QRect centredOn(QRect rect, const QPoint& centre)
{
    rect.moveCenter(centre);
    return rect;
}

// The window's outline in logical pixels: the border's shape, else its rounded rectangle.
QPainterPath outlineOf(const CBorder* border, const QRectF& rect)
{
    if (const CBorder::ShapeFunction shape = border->shapeFunction())
        return shape(border, rect.size(), 1.0).translated(rect.topLeft());
    const QMargins radii = border->margins();
    return roundedRectPath(rect, radii.left(), radii.top(), radii.right(), radii.bottom());
}

int oppositeSide(int side)
{
    switch (side) {
    case 1: return 8;
    case 8: return 1;
    case 2: return 4;
    case 4: return 2;
    default: return 1;
    }
}

Qt::Edge edgeOfSide(int side)
{
    switch (side) {
    case 2: return Qt::LeftEdge;
    case 4: return Qt::RightEdge;
    case 8: return Qt::BottomEdge;
    default: return Qt::TopEdge;
    }
}

} // namespace

class CWindow::Private : public QObject
{
public:
    explicit Private(CWindow* window) : QObject(window), owner(window) {}

    CWindow* owner;
    int options = 0;
    ShadowType shadowType = Not_Set;
    CPlatformIntegration* integration = nullptr;
    bool geometryRestored = false;
    QPoint initialPos;
    QPointer<CTitleBar> titleBar;
    QPointer<CWidgetBase> sidePanel;
    QPointer<CWidgetBase> content;
    QPointer<QVBoxLayout> columnLayout;
    std::optional<QPoint> dragStart;
    double devicePixelRatio = -1.0;
    bool hovered = false;
    bool blocked = false;
    QPointer<COverlay> overlay;
    double restingOpacity = 1.0;
    QMetaObject::Connection screenConnection;
    QPointer<QScreen> screen;
    QPointer<CAnimationShow> opacityAnimation;
    QPointer<CAnimationGeom> geometryAnimation;
    bool fadingOut = false;
    QSize maskedSize;

    Cpalette* palette() const { return currentPalette(); }

    bool countsAsMoved() const { return owner->testAttribute(Qt::WA_Moved) && owner->pos() != initialPos; }

    bool isShaped() const
    {
        CBorder* border = integration->border();
        return !integration->isDwmFrame() && (border->shapeFunction() || !border->margins().isNull());
    }

    // A shaped window is translucent where a compositor blends it; xcb takes the attribute only
    // before the native window exists.
    void refreshTranslucency()
    {
        const bool translucent = isShaped() && CPlatformIntegration::isCompositingManagerRunning();
        if (owner->testAttribute(Qt::WA_TranslucentBackground) != translucent)
            owner->setAttribute(Qt::WA_TranslucentBackground, translucent);
    }

    // Without a compositor a shaped window is cut to its outline, so its corners show what lies
    // below instead of black.
    void refreshMask()
    {
        const bool cut = isShaped() && !CPlatformIntegration::isCompositingManagerRunning();
        if (cut && maskedSize != owner->size()) {
            const QPainterPath outline = outlineOf(integration->border(), owner->rect());
            setRoundedWidgetMask(owner, owner->size(), QPoint(), outline, 0, false, false);
            maskedSize = owner->size();
        } else if (!cut && maskedSize.isValid()) {
            clearWidgetMask(owner);
            maskedSize = QSize();
        }
    }

    void refreshShape()
    {
        refreshTranslucency();
        refreshMask();
    }

    CAnimationShow* opacityAnimator()
    {
        if (!opacityAnimation) {
            opacityAnimation = new CAnimationShow(owner);
            connect(opacityAnimation, &CAnimationBase::finished, this, [this] {
                if (fadingOut)
                    endFadeOut();
            });
        }
        return opacityAnimation;
    }

    void endFadeOut()
    {
        fadingOut = false;
        owner->hide();
        owner->setWindowOpacity(restingOpacity);
    }

    // A show stops a fade-out that still runs.
    void cancelFadeOut()
    {
        if (!fadingOut)
            return;
        fadingOut = false;
        if (opacityAnimation)
            opacityAnimation->stop();
        owner->setWindowOpacity(restingOpacity);
    }

    void followScreen(QScreen* next)
    {
        if (!next || next == screen)
            return;
        const bool first = !screen;
        screen = next;
        const double ratio = next->devicePixelRatio();
        if (first || devicePixelRatio < 0) {
            devicePixelRatio = ratio;
            return;
        }
        if (qFuzzyCompare(ratio, devicePixelRatio))
            return;
        const double old = devicePixelRatio;
        devicePixelRatio = ratio;
        emit owner->devicePixelRatioChanged(ratio, old);
        owner->update();
    }

    void attachScreen()
    {
        QObject::disconnect(screenConnection);
        QWindow* window = owner->windowHandle();
        if (!window)
            return;
        screenConnection = connect(window, &QWindow::screenChanged, this, &Private::followScreen);
        followScreen(window->screen());
    }

    void setOverlayShown(bool shown)
    {
        if (overlay)
            overlay->setVisible(shown);
    }

    QScreen* lastScreen() const
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        CSettingsStorage* settings = appSettings();
        const int index = settings ? settings->lastScreen() : 0;
        return index >= 0 && index < screens.size() ? screens.at(index) : QGuiApplication::primaryScreen();
    }

    QRect placed(ShowStrategy placement) const
    {
        QRect rect = owner->geometry();
        rect.setSize(rect.size().expandedTo(owner->minimumSize()));
        switch (placement) {
        case CenteredOnParent:
            if (QWidget* parent = owner->parentWidget())
                return centredOn(rect, parent->window()->geometry().center());
            return centredOn(rect, screenOrPrimary(lastScreen())->availableGeometry().center());
        case CursorPos: rect.moveTopLeft(QCursor::pos()); return rect;
        case CursorScreen:
            return centredOn(rect, screenOrPrimary(QGuiApplication::screenAt(QCursor::pos()))->availableGeometry().center());
        case NoChange: return rect;
        }
        return rect;
    }

    QRect besideAnchor(const QRect& anchor, const QSize& size, int side, int alignment, const QPoint& offset,
                       int margin) const
    {
        const QRect rect = placeRectBesideAnchor(anchor, QRect(QPoint(), size), edgeOfSide(side),
                                                 Qt::Alignment(alignment), offset);
        return clampRectToScreen(anchor, rect, 0, margin);
    }

    void buildLayouts()
    {
        columnLayout = new QVBoxLayout;
        columnLayout->setSpacing(0);
        columnLayout->setContentsMargins(0, 0, 0, 0);
        QBoxLayout* top = columnLayout;
        if (options & SidePanel) {
            top = new QHBoxLayout;
            top->setSpacing(0);
            sidePanel = new CWidgetBase(owner);
            top->addWidget(sidePanel);
            top->addLayout(columnLayout);
        }
        top->setContentsMargins(0, 0, 0, 0);
        top->setSizeConstraint(QLayout::SetMinAndMaxSize);
        owner->setLayout(top);
        if (options & TitleBar) {
            titleBar = new CTitleBar(owner);
            titleBar->setButtons(titleBarButtons(owner->windowFlags()));
            integration->setTitleBar(titleBar);
            const QList<CButton*> buttons = titleBar->findChildren<CButton*>();
            for (CButton* button : buttons)
                integration->addTitleBarControl(button);
            columnLayout->addWidget(titleBar);
        }
        content = new CWidgetBase(owner);
        columnLayout->addWidget(content, 1);
    }

    void restoreFromSettings(const QString& name)
    {
        owner->setObjectName(name);
        if (!owner->hasSavedGeometry())
            return;
        const QRect kept = owner->geometry();
        const QByteArray saved = owner->savedGeometry();
        geometryRestored = owner->restoreGeometry(saved);
        // restoreGeometry() moves a rectangle from a screen that is gone onto the primary one,
        // so the saved rectangle is asked too.
        if (!geometryRestored || (onAnyScreen(owner->geometry()) && onAnyScreen(savedFrameGeometry(saved))))
            return;
        if (CSettingsStorage* settings = appSettings())
            atTopLevel(settings, [&] { settings->remove(geometryKey(name)); });
        owner->setGeometry(kept);
        geometryRestored = false;
    }

    void moveOntoParentScreen()
    {
        QWidget* parent = owner->parentWidget();
        QWidget* parentWindow = parent ? parent->window() : nullptr;
        QScreen* screen = parentWindow ? screenAt(parentWindow->geometry().center()) : nullptr;
        if (!screen)
            return;
        initialPos = screen->geometry().topLeft();
        owner->move(initialPos);
    }
};

CWindow::CWindow(int options, QWidget* parent, ShadowType shadowType, bool deferStyle, const QString& objectName)
    : CWindow(0, options, parent, shadowType, deferStyle, objectName)
{
}

CWindow::CWindow(int styleKind, int options, QWidget* parent, ShadowType shadowType, bool deferStyle,
                 const QString& objectName)
    : CWidgetBase(parent, windowFlagsFor(options))
    , CDrawable(styleKind)
    , d(new Private(this))
{
    d->options = options;
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_DeleteOnClose, false);
    d->shadowType = shadowType;
    if (d->shadowType == Default) {
        CSystemTools* tools = CSystemTools::instance();
        d->shadowType = tools ? tools->defaultShadowType() : DWM_API;
    }
    if (d->shadowType == DWM_API && !CPlatformIntegration::isDwmCompositionEnabled())
        d->shadowType = Custom_D2D_Compatible;

    d->integration = new CPlatformIntegration(this);
    d->integration->setResizable(options & Resizable);
    d->integration->setMovable(options & Movable);
    d->integration->setDwmFrame(d->shadowType == DWM_API);
    connect(d->integration, &CPlatformIntegration::moveByUserStarted, this, &CWindow::moveByUserStarted);
    connect(d->integration, &CPlatformIntegration::moveByUserFinished, this, &CWindow::moveByUserFinished);
    connect(d->integration, &CPlatformIntegration::resizeByUserStarted, this, &CWindow::resizeByUserStarted);
    connect(d->integration, &CPlatformIntegration::resizeByUserFinished, this, &CWindow::resizeByUserFinished);

    if (objectName.isEmpty())
        d->moveOntoParentScreen();
    else
        d->restoreFromSettings(objectName);

    d->buildLayouts();
    if (!deferStyle)
        applyStyle();
    connect(this, &CWidgetBase::hided, d->integration->border(), &CBorder::resetAnchorOffset);
}

CWindow::~CWindow() = default;

QWidget* CWindow::contentWidget() const
{
    return d->content;
}

CTitleBar* CWindow::titleBar() const
{
    return d->titleBar;
}

CWidgetBase* CWindow::sidePanel() const
{
    return d->sidePanel;
}

CBorder* CWindow::border() const
{
    return d->integration->border();
}

CPlatformIntegration* CWindow::platformIntegration() const
{
    return d->integration;
}

int CWindow::options() const
{
    return d->options;
}

CWindow::ShadowType CWindow::shadowType() const
{
    return d->shadowType;
}

bool CWindow::isBlocked() const
{
    return d->blocked;
}

bool CWindow::isInSizeMove() const
{
    return d->integration->isInSizeMove();
}

void CWindow::setTitle(const QString& title)
{
    if (d->titleBar)
        d->titleBar->titleLabel()->setText(title);
}

void CWindow::updateTexts()
{
    if (d->titleBar)
        d->titleBar->updateTexts();
}

void CWindow::applyStyle()
{
    d->palette()->styleWindow(this, hasStyle() ? styleKind() : 0);
    updateContentMargins();
    d->refreshShape();
}

QMargins CWindow::contentMargins(bool maximised, double ratio)
{
    const double m = maximised ? 8.0 : 0.0;
    const int side = qRound(m / ratio);
    return QMargins(side, side, side, qRound(1.0 / ratio + m));
}

void CWindow::updateContentMargins()
{
    if (!d->integration->isDwmFrame() || !layout())
        return;
    layout()->setContentsMargins(contentMargins(isMaximized() || isFullScreen(), devicePixelRatioF()));
    update();
}

bool CWindow::hasSavedGeometry() const
{
    CSettingsStorage* settings = appSettings();
    if (objectName().isEmpty() || !settings)
        return false;
    bool found = false;
    atTopLevel(settings, [&] { found = settings->allKeys().contains(geometryKey(objectName())); });
    return found;
}

QByteArray CWindow::savedGeometry() const
{
    CSettingsStorage* settings = appSettings();
    if (objectName().isEmpty() || !settings)
        return QByteArray();
    QByteArray bytes;
    atTopLevel(settings, [&] { bytes = settings->value(geometryKey(objectName())).toByteArray(); });
    return bytes;
}

void CWindow::restoreSavedGeometry()
{
    if (d->geometryRestored)
        return;
    const QByteArray bytes = savedGeometry();
    if ((bytes.isEmpty() || !restoreGeometry(bytes)) && isHidden())
        defaultPlacement();
}

void CWindow::defaultPlacement()
{
    if (isMaximized())
        return;
    if (!testAttribute(Qt::WA_Resized)) {
        adjustSize();
        resize(minimumSize().isEmpty() ? sizeHint() : minimumSize());
    }
    if (d->countsAsMoved())
        return;
    QScreen* screen = screenOrPrimary(widgetScreen(this));
    if (screen)
        setGeometry(centredOn(geometry(), screen->availableGeometry().center()));
}

void CWindow::saveGeometrySettings()
{
    CSettingsStorage* settings = appSettings();
    if (!settings)
        return;
    if (!objectName().isEmpty())
        atTopLevel(settings, [&] { settings->setValue(geometryKey(objectName()), saveGeometry()); });
    CSystemTools* tools = CSystemTools::instance();
    if (!tools || tools->mainWindow() != this)
        return;
    const int index = QGuiApplication::screens().indexOf(screen());
    atTopLevel(settings, [&] { settings->setLastScreen(index); });
}

void CWindow::showWindow(ShowStrategy placement)
{
    d->cancelFadeOut();
    QWidget* parent = parentWidget() ? parentWidget()->window() : nullptr;
    if (placement == CenteredOnParent && parent) {
        if (parent->isMinimized())
            parent->setWindowState(parent->windowState() & ~Qt::WindowMinimized);
        if (parent->isHidden()) {
            parent->show();
            parent->raise();
        }
    }
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (isHidden()) {
        d->refreshShape();
        if (!(d->options & Resizable)) {
            if (!windowHandle() && !parentWidget() && hasHeightForWidth())
                create();
            if (!testAttribute(Qt::WA_Resized))
                resize(preferredSize());
        }
        show();
    }
    const QRect rect = d->placed(placement);
    if (rect != geometry())
        setGeometry(clampRectToScreen(rect, rect));
    raise();
    if (!testAttribute(Qt::WA_ShowWithoutActivating) && !isActiveWindow())
        activateWindow();
}

int CWindow::showNextToRect(const QRect& anchor, int side, int alignment, bool animated, const QPoint& offset,
                            int screenMargin)
{
    d->cancelFadeOut();
    const QSize size = preferredSize();
    CBorder* border = this->border();
    border->setAnchorOffset(side, alignment);
    QRect rect = d->besideAnchor(anchor, size, side, alignment, offset, screenMargin);
    if (rect.intersects(anchor)) {
        const int opposite = oppositeSide(side);
        const QRect other = d->besideAnchor(anchor, size, opposite, alignment, offset, screenMargin);
        if (!other.intersects(anchor)) {
            rect = other;
            side = opposite;
            border->setAnchorOffset(side, alignment);
        } else {
            border->resetAnchorOffset();
        }
    }
    if (isVisible()) {
        setGeometryAnimated(rect, true, d->palette()->metric(17));
        return side;
    }
    setGeometry(rect);
    setWindowOpacity(0.01);
    showWindow(parentWidget() && !d->countsAsMoved() ? CenteredOnParent : NoChange);
    d->opacityAnimator()->setOpacity(d->restingOpacity, animated, d->palette()->metric(16));
    return side;
}

void CWindow::setGeometryAnimated(const QRect& rect, bool animated, int duration, bool wait)
{
    if (!d->geometryAnimation)
        d->geometryAnimation = new CAnimationGeom(this);
    if (duration < 0 && animated)
        duration = d->palette()->metric(17);
    d->geometryAnimation->setGeometry(rect, animated, duration, wait);
}

void CWindow::fadeOut()
{
    CAnimationShow* animation = d->opacityAnimator();
    d->fadingOut = true;
    animation->setOpacity(0.0, true, d->palette()->metric(16));
    if (d->fadingOut && !animation->isRunning())
        d->endFadeOut();
}

void CWindow::setDimWhenBlocked(bool dim)
{
    if (!dim) {
        if (d->overlay) {
            d->overlay->hide();
            d->overlay->deleteLater();
        }
        d->overlay = nullptr;
        return;
    }
    if (!d->overlay)
        d->overlay = new COverlay(this);
    if (d->blocked)
        d->overlay->setVisible(true);
}

double CWindow::restingOpacity() const
{
    return d->restingOpacity;
}

void CWindow::setRestingOpacity(double opacity)
{
    d->restingOpacity = opacity;
}

QSize CWindow::preferredSize()
{
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children)
        child->updateGeometry();
    updateGeometry();
    grab();
    const QSize hint = sizeHint();
    const int width = qBound(minimumWidth(), hint.width(), maximumWidth());
    const int height = hasHeightForWidth() ? heightForWidth(width) : hint.height();
    return QSize(width, qBound(minimumHeight(), height, maximumHeight()));
}

bool CWindow::hasHeightForWidth() const
{
    if (d->integration->isMovingByUser())
        return false;
    return CWidgetBase::hasHeightForWidth();
}

bool CWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        d->hovered = true;
        if (isEnabled())
            emit hovered();
        break;
    case QEvent::Leave:
        d->hovered = false;
        emit leaved();
        break;
    case QEvent::WindowBlocked:
        d->blocked = true;
        d->setOverlayShown(true);
        break;
    case QEvent::WindowUnblocked:
        d->blocked = false;
        d->setOverlayShown(false);
        break;
    case QEvent::WindowStateChange:
        if (d->titleBar)
            d->titleBar->show();
        QTimer::singleShot(0, this, &CWindow::updateContentMargins);
        break;
    case QEvent::WinIdChange:
        d->attachScreen();
        break;
    case QEvent::Resize:
        d->refreshMask();
        break;
    default: break;
    }
    return CWidgetBase::event(event);
}

void CWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !(d->options & Movable) || isMaximized() || isFullScreen()) {
        CWidgetBase::mousePressEvent(event);
        return;
    }
    d->dragStart = event->globalPos();
    event->accept();
}

void CWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!d->dragStart) {
        CWidgetBase::mouseMoveEvent(event);
        return;
    }
    if ((event->globalPos() - *d->dragStart).manhattanLength() <= kBodyDragDistance)
        return;
    const QPoint grab = *d->dragStart;
    d->dragStart.reset();
    d->integration->startSystemMove(this, grab, event->globalPos());
    event->accept();
}

void CWindow::mouseReleaseEvent(QMouseEvent* event)
{
    d->dragStart.reset();
    CWidgetBase::mouseReleaseEvent(event);
}

void CWindow::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
}

void CWindow::paintEvent(QPaintEvent*)
{
    d->refreshTranslucency();
    CPainterScope scope(this);
    paintFrame(scope, border(), d->integration->nativeSize(), isActiveWindow(), d->integration->isDwmFrame());
}

void CWindow::paintFrame(CPainterScope& scope, const CBorder* border, const QSize& nativeSize, bool active,
                         bool nativeFrame)
{
    QPainter* painter = scope.painter();
    const double ratio = scope.scale();
    QRectF area = scope.area();
    // An edge past the native client size is drawn on its last device pixel.
    if (area.right() * ratio > nativeSize.width())
        area.setRight(nativeSize.width() / ratio);
    if (area.bottom() * ratio > nativeSize.height())
        area.setBottom(nativeSize.height() / ratio);
    if (nativeFrame)
        area.setBottom(area.bottom() - 1.0 / ratio);

    QColor color = border->borderColor();
    if (border->fadeWhenInactive() && !active)
        color.setAlphaF(color.alphaF() * 0.7);
    const int width = border->borderWidth();
    const QPen pen = width == 0 ? QPen(Qt::NoPen)
                                : QPen(color, qRound(width * ratio) / ratio, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QBrush brush = border->backgroundBrush();

    if (!nativeFrame && border->shapeFunction()) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(pen);
        painter->setBrush(brush);
        painter->drawPath(outlineOf(border, area));
        return;
    }
    const QMargins radii = border->margins();
    if (brush.style() != Qt::NoBrush) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(brush);
        drawFrame(painter, area, radii.left(), radii.top(), radii.right(), radii.bottom(), false);
    }
    if (pen.style() != Qt::NoPen) {
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        drawFrame(painter, area, radii.left(), radii.top(), radii.right(), radii.bottom(), false);
    }
}

bool CWindow::nativeEvent(const QByteArray& eventType, void* message, long* result)
{
    if (d->integration->nativeEvent(eventType, message, result))
        return true;
    return CWidgetBase::nativeEvent(eventType, message, result);
}
