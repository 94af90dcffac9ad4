#include "pages/VolumeButton.h"

#include "pages/InterfaceText.h"
#include "pages/PopupOverlay.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CWindowMenu.h"

#include <QApplication>
#include <QCursor>
#include <QWheelEvent>

namespace {

constexpr int kButtonKind = 1028;
constexpr int kPopupKind = 1001;
constexpr int kSliderKind = 37;
constexpr int kOverlayKind = 1045;
constexpr int kAbove = 1;
constexpr int kAlignment = 4;
constexpr int kWheelStep = 5;

QString volumeIcon(int level)
{
    if (level <= 0)
        return QStringLiteral(":/volume-0.svg");
    if (level <= 33)
        return QStringLiteral(":/volume-33.svg");
    if (level <= 66)
        return QStringLiteral(":/volume-66.svg");
    return QStringLiteral(":/volume-100.svg");
}

bool mouseButtonHeld()
{
    return QApplication::mouseButtons() != Qt::NoButton;
}

} // namespace

VolumeButton::VolumeButton(QWidget* parent)
    : CButtonMenuItem(kButtonKind, QString(), kAbove, kAlignment, parent)
    , m_mute(new CButton(kButtonKind))
    , m_slider(new CSlider(kSliderKind, Qt::Vertical))
{
    popup()->setStyleKind(kPopupKind);
    popup()->setCloseOnItemClick(false);
    m_mute->setCheckable(true);
    popup()->addWidget(m_slider);
    popup()->addWidget(m_mute);
    m_slider->setRange(0, 100);
    m_slider->setValueSilently(0);
    refreshIcon();
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(500);
    m_leaveTimer.setInterval(200);
    connect(this, &CButton::hovered, &m_hoverTimer, qOverload<>(&QTimer::start));
    connect(popup(), &CWindow::hovered, &m_leaveTimer, qOverload<>(&QTimer::start));
    connect(&m_hoverTimer, &QTimer::timeout, this, &VolumeButton::onHoverTimeout);
    connect(&m_leaveTimer, &QTimer::timeout, this, &VolumeButton::onLeaveTimeout);
    connect(popup(), &CWidgetBase::showed, this, &VolumeButton::onPopupShown);
    connect(popup(), &CWidgetBase::hided, &m_leaveTimer, &QTimer::stop);
    connect(m_mute, &CButton::toggled, this, &VolumeButton::onMuteToggled);
    connect(m_slider, &QAbstractSlider::sliderPressed, this, [this] {
        if (m_slider->value() > 0)
            m_remembered = m_slider->value();
    });
    connect(m_slider, &QAbstractSlider::valueChanged, this, [this] {
        refreshIcon();
        emit volumeChanged(m_slider->value());
    });
}

VolumeButton::~VolumeButton() = default;

int VolumeButton::volume() const
{
    return m_slider->value();
}

void VolumeButton::setVolume(int level)
{
    level = qBound(0, level, 100);
    if (level == 0 && m_slider->value() != 0)
        m_remembered = m_slider->value();
    m_slider->setValueSilently(level);
    refreshIcon();
}

void VolumeButton::attachWheelTarget(QWidget* target)
{
    auto* overlay = new PopupOverlay(kOverlayKind, target);
    auto* filter = new WheelEventFilter(this, overlay);
    overlay->installEventFilter(filter);
    target->installEventFilter(filter);
}

void VolumeButton::onHoverTimeout()
{
    if (isHovered() && !isPopupVisible() && !mouseButtonHeld())
        showPopup();
}

void VolumeButton::onLeaveTimeout()
{
    if (!popup()->geometry().contains(QCursor::pos()) && !mouseButtonHeld())
        closePopup();
}

void VolumeButton::onPopupShown()
{
    const QPoint muteCentre = m_mute->mapTo(popup(), m_mute->rect().center());
    const QPoint buttonCentre = mapToGlobal(rect().center());
    popup()->move(buttonCentre - muteCentre);
    m_leaveTimer.start();
}

void VolumeButton::onMuteToggled(bool muted)
{
    if (muted) {
        m_remembered = m_slider->value();
        m_slider->setValueSilently(0);
    } else {
        m_slider->setValueSilently(m_remembered > 0 ? m_remembered : 100);
    }
    refreshIcon();
    emit volumeChanged(m_slider->value());
}

void VolumeButton::refreshIcon()
{
    const int level = m_slider->value();
    m_mute->setChecked(level == 0);
    m_slider->setToolTip(QString::number(level));
    const QString icon = volumeIcon(level);
    setIcon(icon);
    m_mute->setIcon(icon);
}

WheelEventFilter::WheelEventFilter(VolumeButton* button, PopupOverlay* overlay)
    : QObject(button)
    , m_button(button)
    , m_overlay(overlay)
{
}

WheelEventFilter::~WheelEventFilter() = default;

bool WheelEventFilter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    if (!m_button || !m_button->isEnabled())
        return true;
    const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
    m_button->setVolume(m_button->volume() + kWheelStep * notches);
    if (m_overlay) {
        m_overlay->showText(interfaceText(243) + QStringLiteral(": ") + QString::number(m_button->volume()));
        m_overlay->raise();
    }
    return true;
}
