#include "uilib/style/CProxyStyle.h"

#include "uilib/style/CPanelDraw.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>

namespace {

// The key of the style under the application's proxies, so a fresh one of the same kind can be made.
QString applicationStyleKey()
{
    QStyle* style = QApplication::style();
    while (auto* proxy = qobject_cast<QProxyStyle*>(style))
        style = proxy->baseStyle();
    return style ? style->objectName() : QString();
}

} // namespace

QStyle* makeLibraryStyle()
{
    QStyle* style = QStyleFactory::create(applicationStyleKey());
    if (!style)
        style = QStyleFactory::create(QStringLiteral("fusion"));
    return new CProxyStyle(style);
}

CProxyStyle::CProxyStyle(QStyle* base)
    : QProxyStyle(base)
{
}

CProxyStyle::~CProxyStyle() = default;

void CProxyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    const auto isPanel = [](const QWidget* w) { return dynamic_cast<const CPanelDraw*>(w) != nullptr; };
    switch (element) {
    case PE_FrameFocusRect:
        if (isPanel(widget))
            return;
        break;
    case PE_PanelButtonBevel:
        if (dynamic_cast<const CSpinBoxDraw*>(widget))
            return;
        break;
    case PE_PanelLineEdit:
        if (widget && (isPanel(widget) || isPanel(widget->parentWidget())))
            return;
        break;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int CProxyStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_SubMenuOverlap)
        return currentPalette()->metric(10);
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int CProxyStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_EtchDisabledText:
    case SH_DitherDisabledText:
    case SH_MenuBar_AltKeyNavigation:
        return 0;
    case SH_ToolTip_WakeUpDelay:
        return 1000;
    case SH_LineEdit_PasswordMaskDelay:
        return currentPalette()->metric(28);
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}
