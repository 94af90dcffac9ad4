#include "uilib/style/CDrawable.h"

#include "app/CSystemTools.h"
#include "uilib/style/CStyle.h"

#include <QCoreApplication>

CDrawable::CDrawable(int styleKind)
    : m_styleKind(styleKind)
{
    if (QCoreApplication::closingDown())
        return;
    if (CSystemTools* tools = CSystemTools::instance())
        m_style = tools->style();
    if (m_style)
        m_style->registerDrawable(this);
}

CDrawable::~CDrawable()
{
    if (m_style && !QCoreApplication::closingDown())
        m_style->unregisterDrawable(this);
}

void CDrawable::setStyleKind(int kind)
{
    if (kind == m_styleKind)
        return;
    m_styleKind = kind;
    applyStyle();
}
