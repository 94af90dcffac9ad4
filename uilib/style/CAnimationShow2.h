#pragma once

#include "uilib/style/AnimationParams.h"
#include "uilib/style/CAnimationProgress.h"

#include <QPointer>

class QWidget;

// Animated show and hide of a widget: it fades in or out through its opacity effect (a window
// through its window opacity) and may slide in from an edge. The animator is made on first use.
class CAnimationShow2
{
public:
    // The progress of the show (0 hidden, 1 shown); it lives as the widget's child.
    class VisibilityAnimator : public CAnimationProgress
    {
    public:
        explicit VisibilityAnimator(QWidget* widget);
        ~VisibilityAnimator() override;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        QPointer<QWidget> m_widget;
    };

    explicit CAnimationShow2(QWidget* widget);
    virtual ~CAnimationShow2();
    virtual void setVisibleAnimated(bool visible, bool animated);
    // Called when a show has run to its end.
    virtual void animationFinished();

    void showAnimated() { setVisibleAnimated(true, true); }
    void hideAnimated() { setVisibleAnimated(false, true); }
    void setAnimationParams(const AnimationParams& params);
    // The Qt::Edge the widget slides in from and the distance in logical pixels.
    void setSlide(int edge, int distance);

    VisibilityAnimator* visibilityAnimator() const { return m_animator; }

private:
    void ensureAnimator();
    void onProgress(double progress);

    QPointer<QWidget> m_widget;
    QPointer<VisibilityAnimator> m_animator;
};
