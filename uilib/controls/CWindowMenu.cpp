#include "uilib/controls/CWindowMenu.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/style/CEventChildren.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QCursor>
#include <QListView>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kVisibleItemMargin = 50;

} // namespace

struct CWindowMenu::Private
{
    CEventChildren* childWatcher = nullptr;
    QList<QPointer<CButtonMenuItem>> subMenuItems;
    QPointer<QWidget> hoverTarget;
    QTimer hoverTimer;
    bool closeOnItemClick = true;
    QPointer<QBoxLayout> itemLayout;
    QPointer<CScrollArea> scrollArea;
    QPointer<CWidgetBase> scrollContainer;
    QPointer<QWidget> pendingVisible;
};

CWindowMenu::CWindowMenu(int styleKind, Qt::Orientation orientation, QWidget* parent,
                         CWindow::ShadowType shadowType, bool deferStyle)
    : CWindowPopup(styleKind, 0, parent, shadowType, true)
    , d(new Private)
{
    QWidget* content = contentWidget();
    d->childWatcher = new CEventChildren(CEventChildren::WatchAdded | CEventChildren::WatchRemoved
                                             | CEventChildren::WatchEnter,
                                         content, this);
    connect(d->childWatcher, &CEventChildren::childWidgetAdded, this, &CWindowMenu::onItemAdded);
    connect(d->childWatcher, &CEventChildren::childWidgetRemoved, this, &CWindowMenu::onItemRemoved);
    connect(d->childWatcher, &CEventChildren::childWidgetEntered, this, &CWindowMenu::onItemEntered);
    d->hoverTimer.setSingleShot(true);
    d->hoverTimer.setInterval(currentPalette()->metric(11));
    connect(&d->hoverTimer, &QTimer::timeout, this, &CWindowMenu::onHoverTimeout);
    if (orientation == Qt::Horizontal)
        d->itemLayout = new QHBoxLayout(content);
    else
        d->itemLayout = new QVBoxLayout(content);
    d->itemLayout->setContentsMargins(0, 0, 0, 0);
    d->itemLayout->setSpacing(0);
    if (!deferStyle) {
        setClickDelay(currentPalette()->metric(11));
        applyStyle();
    }
}

CWindowMenu::CWindowMenu(Qt::Orientation orientation, QWidget* parent, CWindow::ShadowType shadowType,
                         bool deferStyle)
    : CWindowMenu(3, orientation, parent, shadowType, deferStyle)
{
}

CWindowMenu::~CWindowMenu()
{
    // Items that go with the window are no news to a menu being destroyed.
    disconnect(d->childWatcher, nullptr, this, nullptr);
    d->hoverTimer.stop();
}

QWidget* CWindowMenu::itemParent() const
{
    return d->itemLayout ? d->itemLayout->parentWidget() : nullptr;
}

void CWindowMenu::addWidget(QWidget* widget)
{
    if (!widget || !d->itemLayout)
        return;
    const bool placed = widget->parentWidget() == itemParent();
    d->itemLayout->addWidget(widget);
    // A widget made with the item parent as its parent was reported before it was whole.
    if (placed)
        onItemAdded(widget);
}

CButton* CWindowMenu::addButtonItem(int styleKind, const QString& iconName)
{
    auto* button = new CButton(styleKind, iconName);
    addWidget(button);
    return button;
}

CButton* CWindowMenu::addActionItem(const QString& iconName, const QString& text, std::function<void()> action,
                                    int styleKind)
{
    CButton* button = addButtonItem(styleKind, QString());
    button->setIcon(iconName);
    button->setText(text);
    if (action)
        connect(button, &CButton::clicked, this, std::move(action));
    return button;
}

QBoxLayout* CWindowMenu::itemLayout() const { return d->itemLayout; }
CScrollArea* CWindowMenu::scrollArea() const { return d->scrollArea; }
void CWindowMenu::setCloseOnItemClick(bool close) { d->closeOnItemClick = close; }
bool CWindowMenu::closeOnItemClick() const { return d->closeOnItemClick; }
void CWindowMenu::setClickDelay(int ms) { d->hoverTimer.setInterval(ms); }
int CWindowMenu::clickDelay() const { return d->hoverTimer.interval(); }

void CWindowMenu::onItemAdded(QWidget* item)
{
    // Items can be reported again (moved into the scroll container): connect once.
    onItemRemoved(item);
    const auto closeChain = [this] {
        if (d->closeOnItemClick)
            closeAllPopups();
    };
    if (auto* subMenuItem = qobject_cast<CButtonMenuItem*>(item)) {
        d->subMenuItems.append(subMenuItem);
    } else if (auto* button = qobject_cast<CButton*>(item)) {
        connect(button, &CButton::clicked, this, closeChain);
        connect(button, &CButton::toggled, this, [closeChain](bool checked) {
            if (checked)
                closeChain();
        });
    } else if (auto* list = qobject_cast<QListView*>(item)) {
        connect(list, &QListView::clicked, this, closeChain);
    }
}

void CWindowMenu::onItemRemoved(QWidget* item)
{
    disconnect(item, nullptr, this, nullptr);
    auto& items = d->subMenuItems;
    items.erase(std::remove_if(items.begin(), items.end(),
                               [item](const QPointer<CButtonMenuItem>& subMenuItem) {
                                   return !subMenuItem || static_cast<QWidget*>(subMenuItem.data()) == item;
                               }),
                items.end());
    if (d->hoverTarget == item)
        d->hoverTarget = nullptr;
}

void CWindowMenu::onItemEntered(QWidget* item)
{
    d->hoverTarget = item;
    d->hoverTimer.start();
}

void CWindowMenu::onHoverTimeout()
{
    const QPointer<QWidget> target = d->hoverTarget;
    d->hoverTarget = nullptr;
    if (!target)
        return;
    QWidget* under = widgetUnderCursor();
    const bool stillOver = under && (under == target || target->isAncestorOf(under));
    const QWidget* underWindow = under ? under->window() : nullptr;
    const QList<QPointer<CButtonMenuItem>> items = d->subMenuItems;
    for (const QPointer<CButtonMenuItem>& item : items) {
        if (!item || item == target || !item->hasPopup())
            continue;
        if (stillOver || item->popup() != underWindow)
            item->closePopup();
    }
    if (!stillOver)
        return;
    if (auto* subMenuItem = qobject_cast<CButtonMenuItem*>(target.data()))
        subMenuItem->showPopup();
}

void CWindowMenu::setScrollable(int scrollBars, int styleKind)
{
    if (d->scrollArea || !d->itemLayout)
        return;
    QWidget* content = contentWidget();
    auto* container = new CWidgetBase();
    container->setFocusPolicy(Qt::NoFocus);
    container->setAutoFillBackground(false);
    container->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    d->scrollContainer = container;
    d->childWatcher->setWidget(container);
    // Takes the layout and its items off the content widget.
    container->setLayout(d->itemLayout);
    auto* column = qobject_cast<QBoxLayout*>(content->layout());
    if (!column) {
        column = new QVBoxLayout(content);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
    }
    d->scrollArea = new CScrollArea(styleKind, content);
    d->scrollArea->setHorizontalScrollBarPolicy(scrollBars & 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    d->scrollArea->setVerticalScrollBarPolicy(scrollBars & 2 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    d->scrollArea->setWidgetResizable(true);
    d->scrollArea->setWidget(container);
    column->addWidget(d->scrollArea);
}

void CWindowMenu::ensureItemVisible(QWidget* item)
{
    d->pendingVisible = item;
    if (isVisible())
        scrollToPending();
}

void CWindowMenu::scrollToPending()
{
    const QPointer<QWidget> item = d->pendingVisible;
    if (!item || !d->scrollArea || !d->scrollContainer)
        return;
    d->pendingVisible = nullptr;
    // The area lays its content out on a posted request: do it now, so the item has its place.
    if (QLayout* layout = d->scrollContainer->layout())
        layout->activate();
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(d->scrollArea, &request);
    const QRect rect(item->mapTo(d->scrollContainer, QPoint(0, 0)), item->size());
    const int m = kVisibleItemMargin;
    d->scrollArea->ensureRectVisible(rect.adjusted(-m, -m, m, m), false);
}

void CWindowMenu::showAtCursor()
{
    showNextToRect(QRect(QCursor::pos(), QSize(1, 1)), 8, 1, true, QPoint(), 1);
}

bool CWindowMenu::event(QEvent* event)
{
    if (event->type() == QEvent::Hide) {
        for (const QPointer<CButtonMenuItem>& item : qAsConst(d->subMenuItems)) {
            if (item)
                item->closePopup();
        }
    }
    return CWindowPopup::event(event);
}

void CWindowMenu::showEvent(QShowEvent* event)
{
    CWindowPopup::showEvent(event);
    scrollToPending();
}
