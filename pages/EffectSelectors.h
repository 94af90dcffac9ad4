#pragma once

#include "pages/SelectorTypes.h"
#include "uilib/controls/CComboBase.h"

#include <QVector>

// Chooses a slide transition, or a caption animation, from a popup list with an icon per value.
// Mode 0 offers all 29 transitions, mode 1 the ten caption animations, mode 2 is disabled and
// empty; any other mode is empty.
class TransitionSelector : public CComboBase
{
    Q_OBJECT
public:
    TransitionSelector(int styleKind, int mode, QWidget* parent = nullptr);
    ~TransitionSelector() override;

    TransitionType transition() const;
    void setTransition(TransitionType tt);
    void setTransitionSilently(TransitionType tt);
    QVector<int> ids() const { return m_ids; }
    void updateTexts();

signals:
    void transitionChanged(TransitionType tt);

private:
    QVector<int> m_ids;
};

// Chooses a motion effect (0 to 11) from a popup list with an icon per value.
class MotionSelector : public CComboBase
{
    Q_OBJECT
public:
    explicit MotionSelector(int styleKind, QWidget* parent = nullptr);
    ~MotionSelector() override;

    MotionType motion() const;
    void setMotion(MotionType mt);
    void setMotionSilently(MotionType mt);
    QVector<int> ids() const { return m_ids; }
    void updateTexts();

signals:
    void motionChanged(MotionType mt);

private:
    QVector<int> m_ids;
};
