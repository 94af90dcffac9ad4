#include "model/ProjectItemTransition.h"

#include <algorithm>

#include "model/transition/TransitionType.h"

ProjectItemTransition::ProjectItemTransition(int time_ms, int transition, QObject* parent)
    : ProjectItem(time_ms, parent)
    , transition(transition)
{
}

void ProjectItemTransition::readJson(const QJsonObject& object)
{
    ProjectItem::readJson(object);
    const QJsonValue value = object.value(QLatin1String("transition"));
    if (!value.isUndefined())
        transition = value.toInt();
}

void ProjectItemTransition::writeJson(QJsonObject& object) const
{
    ProjectItem::writeJson(object);
    object.insert(QLatin1String("transition"), transition);
}

int ProjectItemTransition::duration(int transitionTime_ms) const
{
    const qint64 own = shownTime_ms();
    if (transition == TransitionNone)
        return int(own);
    return clampToInt(own + std::max(transitionTime_ms, 0));
}
