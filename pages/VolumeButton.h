#pragma once

#include "pages/PopupOverlay.h"
#include "uilib/controls/CButtonMenuItem.h"

#include <QPointer>
#include <QTimer>

class CSlider;

// The sound level (0 to 100) as an icon; resting on it opens a popup with a vertical slider and
// a mute button, which closes once the mouse has left it.
class VolumeButton : public CButtonMenuItem
{
    Q_OBJECT
public:
    explicit VolumeButton(QWidget* parent = nullptr);
    ~VolumeButton() override;

    int volume() const;
    // Clamped to 0..100; emits nothing.
    void setVolume(int level);
    // Lets the wheel over the target change the level, which an overlay on the target shows.
    void attachWheelTarget(QWidget* target);

    CSlider* slider() const { return m_slider; }
    CButton* muteButton() const { return m_mute; }
    int rememberedLevel() const { return m_remembered; }
    QTimer* hoverTimer() { return &m_hoverTimer; }
    QTimer* leaveTimer() { return &m_leaveTimer; }

    void onHoverTimeout();
    void onLeaveTimeout();

signals:
    void volumeChanged(int value);

private:
    void onPopupShown();
    void onMuteToggled(bool muted);
    void refreshIcon();

    int m_remembered = 100;
    CButton* m_mute;
    CSlider* m_slider;
    QTimer m_hoverTimer;
    QTimer m_leaveTimer;
};

// Over the watched widgets every wheel event is taken: it steps the volume by 5 a notch and
// shows the level in the overlay.
class WheelEventFilter : public QObject
{
public:
    WheelEventFilter(VolumeButton* button, PopupOverlay* overlay);
    ~WheelEventFilter() override;

    PopupOverlay* overlay() const { return m_overlay; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<VolumeButton> m_button;
    QPointer<PopupOverlay> m_overlay;
};
