#include "uilib/controls/CButtonMenuItem.h"

#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPointer>

namespace {

// Takes every item out of the layout, nested layouts too; the widgets hide now and go later, so a
// signal of one of them that is still running keeps its sender.
void discardLayoutItems(QLayout* layout)
{
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        } else if (QLayout* nested = item->layout()) {
            discardLayoutItems(nested);
        }
        delete item;
    }
}

} // namespace

struct CButtonMenuItem::Private
{
    CWindowMenu* popup = nullptr;
    int openMode = 0;
    int placement = 8;
    int alignment = 1;
    bool offsetGiven = false;
    QPoint offset;
};

CButtonMenuItem::CButtonMenuItem(int styleKind, int openMode, int placement, int alignment, QWidget* parent,
                                 bool deferStyle)
    : CButton(styleKind, parent, true)
    , d(new Private)
{
    d->openMode = openMode;
    d->placement = placement;
    d->alignment = alignment;
    setCheckable(true);
    if (openMode == 0)
        connect(this, &CButton::toggled, this, &CButtonMenuItem::onToggled);
    connect(this, &CWidgetBase::hided, this, &CButtonMenuItem::closePopup);
    if (!deferStyle)
        applyStyle();
}

CButtonMenuItem::CButtonMenuItem(int styleKind, const QString& iconName, int placement, int alignment,
                                 QWidget* parent, bool deferStyle)
    : CButtonMenuItem(styleKind, 0, placement, alignment, parent, true)
{
    setIcon(iconName);
    if (!deferStyle)
        applyStyle();
}

CButtonMenuItem::~CButtonMenuItem() = default;

int CButtonMenuItem::openMode() const { return d->openMode; }
bool CButtonMenuItem::hasPopup() const { return d->popup; }
bool CButtonMenuItem::isPopupVisible() const { return d->popup && d->popup->isVisible(); }

CWindowMenu* CButtonMenuItem::popup() const
{
    if (!d->popup)
        const_cast<CButtonMenuItem*>(this)->createPopup();
    return d->popup;
}

void CButtonMenuItem::createPopup()
{
    d->popup = new CWindowMenu(Qt::Vertical, this);
    d->popup->addPassThroughWidget(this);
    connect(d->popup, &CWidgetBase::showed, this, [this] { setChecked(true); });
    connect(d->popup, &CWidgetBase::hided, this, [this] {
        setChecked(false);
        popupVisibilityChanged();
    });
    emit popupCreated(d->popup);
}
void CButtonMenuItem::setPopupPosition(int placement) { d->placement = placement; }
QPoint CButtonMenuItem::popupOffset() const { return d->offset; }

void CButtonMenuItem::setPopupOffset(int x, int y)
{
    d->offsetGiven = true;
    d->offset = QPoint(x, y);
}

void CButtonMenuItem::onToggled(bool checked)
{
    if (!checked) {
        closePopup();
        return;
    }
    showPopup();
    // The checked state follows the popup: a refused popup leaves the button unchecked.
    if (!isPopupVisible())
        setChecked(false);
}

void CButtonMenuItem::showPopup()
{
    if (isPopupVisible() || !isVisible() || !isEnabled())
        return;
    popup();
    bool allow = true;
    aboutToShowPopup(&allow);
    if (!allow)
        return;
    const QRect anchor = QRect(mapToGlobal(QPoint(0, 0)), size()).marginsRemoved(CPanelDraw::margins());
    d->popup->showNextToRect(anchor, d->placement, d->alignment, true, d->offset);
}

void CButtonMenuItem::closePopup()
{
    if (isPopupVisible())
        d->popup->close();
}

void CButtonMenuItem::clearItems()
{
    if (!d->popup)
        return;
    if (isVisible() && d->popup->isVisible())
        d->popup->close();
    if (QLayout* layout = d->popup->itemLayout())
        discardLayoutItems(layout);
}

void CButtonMenuItem::applyStyle()
{
    if (!d->offsetGiven) {
        Cpalette* palette = currentPalette();
        if (qobject_cast<CComboBase*>(this)) {
            const QSize size = palette->defaultSize(1);
            d->offset = QPoint(size.width(), size.height());
        } else {
            const int m = palette->metric(10);
            d->offset = QPoint(-m, m);
        }
    }
    CButton::applyStyle();
}

bool CButtonMenuItem::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (d->openMode != 0) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return CButton::event(event);
}

void CButtonMenuItem::enterEvent(QEvent* event)
{
    CButton::enterEvent(event);
    if (d->openMode == 1)
        showPopup();
}

void CButtonMenuItem::aboutToShowPopup(bool*) {}
void CButtonMenuItem::popupVisibilityChanged() {}
