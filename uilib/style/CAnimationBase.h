#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVariant>

class QVariantAnimation;
class QWidget;

// Animates one value of a widget from a start to an end; each step goes to applyValue. A new
// target while running keeps the time that was left.
class CAnimationBase : public QObject
{
    Q_OBJECT
public:
    // The duration defaults to 150 ms.
    explicit CAnimationBase(QWidget* target);
    ~CAnimationBase() override;

    QWidget* target() const { return m_target; }
    int duration() const { return m_duration; }
    void setDuration(int durationMs);

    // Applies `to` at once unless animated and the target is visible; with wait, returns when the
    // animation has ended (user input waits meanwhile).
    void animate(const QVariant& from, const QVariant& to, bool animated, bool wait);
    bool isRunning() const;
    void stop();

signals:
    void finished();

public slots:
    virtual void applyValue(const QVariant& value) = 0;

private:
    void waitForEnd();

    QPointer<QWidget> m_target;
    QVariantAnimation* m_animation;
    int m_duration = 150;
};

// Animates the geometry of its widget; a Fixed size policy takes the size as its fixed size.
class CAnimationGeom : public CAnimationBase
{
    Q_OBJECT
public:
    using CAnimationBase::CAnimationBase;
    // A negative duration keeps the configured one.
    void setGeometry(const QRect& to, bool animated, int durationMs = -1, bool wait = false);

public slots:
    void applyValue(const QVariant& value) override;
};

// Animates the opacity of its widget: the window opacity of a window, else its opacity effect.
class CAnimationShow : public CAnimationBase
{
    Q_OBJECT
public:
    using CAnimationBase::CAnimationBase;
    double opacity() const;
    // A negative duration keeps the configured one.
    void setOpacity(double to, bool animated, int durationMs = -1, bool wait = false);

public slots:
    void applyValue(const QVariant& value) override;
};
