#include "uilib/style/CAnimationProgress.h"

#include <QPropertyAnimation>

namespace {
constexpr char Progress[] = "progress";
}

CAnimationProgress::CAnimationProgress(QObject* parent, const AnimationParams& params)
    : QObject(parent), m_engine(new CAnimateionProp(this))
{
    qRegisterMetaType<CAnimateionProp::Pos>("CAnimateionProp::Pos");
    m_engine->setAnimation(this, Progress, params);
    QPropertyAnimation* animation = m_engine->animation(Progress);
    connect(animation, &QAbstractAnimation::finished, this, [this] { emit finished(position()); });
    connect(animation, &QAbstractAnimation::stateChanged, this,
            [this](QAbstractAnimation::State state, QAbstractAnimation::State old) {
                if (old == QAbstractAnimation::Stopped && state == QAbstractAnimation::Running)
                    emit started(position());
            });
}

CAnimationProgress::CAnimationProgress(QObject* parent, const QVariant& params)
    : CAnimationProgress(parent, params.value<AnimationParams>())
{
}

void CAnimationProgress::setState(bool on, bool animated)
{
    m_engine->setState(Progress, on, animated);
}

void CAnimationProgress::setProgress(double progress)
{
    if (qFuzzyCompare(progress, m_progress))
        return;
    m_progress = progress;
    emit progressChanged(progress);
}

void CAnimationProgress::setAnimationParams(const AnimationParams& params)
{
    m_engine->setAnimation(this, Progress, params);
}

bool CAnimationProgress::isRunning() const
{
    return m_engine->isRunning(Progress);
}

CAnimateionProp::Pos CAnimationProgress::position() const
{
    return m_engine->position(Progress);
}
