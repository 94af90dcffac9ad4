#include "uilib/controls/CTitleBar.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QEvent>
#include <QHBoxLayout>

#include <algorithm>

CTitleBar::CTitleBar(QWidget* window)
    : CPanel(-1, window)
    , m_window(window)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    m_icon = new CWidgetIcon(this);
    m_icon->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_layout->addWidget(m_icon, 0);
    m_leftArea = addArea(m_leftAreaLayout);
    m_spacerBefore = new CWidgetBase(this);
    m_spacerBefore->setFixedWidth(0);
    m_layout->addWidget(m_spacerBefore);
    m_title = new CWidgetText(this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_layout->addWidget(m_title);
    m_spacerAfter = new CWidgetBase(this);
    m_spacerAfter->setFixedWidth(0);
    m_layout->addWidget(m_spacerAfter);
    m_rightArea = addArea(m_rightAreaLayout);

    m_minimiseButton = addButton(22, 10);
    m_maximiseButton = addButton(23, 11);
    m_restoreButton = addButton(24, 12);
    m_closeButton = addButton(25, 13);
    connect(m_minimiseButton, &CButton::clicked, this, &CTitleBar::minimiseWindow);
    if (window) {
        connect(m_maximiseButton, &CButton::clicked, window, &QWidget::showMaximized);
        connect(m_restoreButton, &CButton::clicked, window, &QWidget::showNormal);
        connect(m_closeButton, &CButton::clicked, window, &QWidget::close);
        window->installEventFilter(this);
    }
    updateTexts();
    updateButtons();
}

CTitleBar::~CTitleBar() = default;

CWidgetBase* CTitleBar::addArea(QPointer<QHBoxLayout>& areaLayout)
{
    auto* area = new CWidgetBase(this);
    area->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    areaLayout = new QHBoxLayout(area);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    area->installEventFilter(this);
    m_layout->addWidget(area, 1);
    return area;
}

CButton* CTitleBar::addButton(int styleKind, int iconKind)
{
    auto* button = new CButton(styleKind, currentPalette()->titleBarIcon(iconKind), this);
    m_layout->addWidget(button, 0, Qt::AlignTop);
    return button;
}

void CTitleBar::setButtons(int bits)
{
    m_buttons = bits;
    updateButtons();
}

void CTitleBar::updateTexts()
{
    m_minimiseButton->setToolTip(QStringLiteral("Свернуть"));
    m_maximiseButton->setToolTip(QStringLiteral("Развернуть на весь экран"));
    m_restoreButton->setToolTip(QStringLiteral("Восстановить размер окна"));
    m_closeButton->setToolTip(QStringLiteral("Закрыть"));
}

void CTitleBar::updateButtons()
{
    const bool full = m_window && (m_window->isMaximized() || m_window->isFullScreen());
    m_minimiseButton->setVisible(m_buttons & Minimise);
    m_maximiseButton->setVisible((m_buttons & Maximise) && !full);
    m_restoreButton->setVisible((m_buttons & Maximise) && full);
    m_closeButton->setVisible(m_buttons & Close);
    centreTitle();
}

void CTitleBar::centreTitle()
{
    if (!(m_title->alignment() & Qt::AlignHCenter)) {
        m_spacerBefore->setFixedWidth(0);
        m_spacerAfter->setFixedWidth(0);
        return;
    }
    const int left = std::max(0, m_icon->x() + m_icon->sizeHint().width() + m_leftArea->sizeHint().width());
    int right = 0;
    for (QWidget* widget : {static_cast<QWidget*>(m_minimiseButton), static_cast<QWidget*>(m_maximiseButton),
                            static_cast<QWidget*>(m_restoreButton), static_cast<QWidget*>(m_closeButton),
                            static_cast<QWidget*>(m_rightArea)}) {
        if (widget->isHidden())
            continue;
        right += widget->sizePolicy().horizontalPolicy() == QSizePolicy::Fixed ? widget->width()
                                                                                : widget->sizeHint().width();
    }
    m_spacerBefore->setFixedWidth(std::max(0, right - left));
    m_spacerAfter->setFixedWidth(std::max(0, left - right));
}

void CTitleBar::minimiseWindow()
{
    if (!m_window)
        return;
    if (m_window->isModal()) {
        QWidget* outer = m_window->parentWidget() ? m_window->parentWidget()->window() : nullptr;
        while (outer && outer->parentWidget())
            outer = outer->parentWidget()->window();
        if (outer)
            outer->showMinimized();
    }
    m_window->showMinimized();
}

bool CTitleBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        updateButtons();
    else if ((watched == m_leftArea || watched == m_rightArea) && event->type() == QEvent::Resize)
        centreTitle();
    return CPanel::eventFilter(watched, event);
}

void CTitleBar::showEvent(QShowEvent* event)
{
    CPanel::showEvent(event);
    centreTitle();
}
