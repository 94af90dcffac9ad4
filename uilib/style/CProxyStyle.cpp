#include "uilib/style/CProxyStyle.h"

#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

CProxyStyle::CProxyStyle(QStyle* base)
    : QProxyStyle(base)
{
}

CProxyStyle::~CProxyStyle() = default;

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
