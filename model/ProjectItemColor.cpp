#include "model/ProjectItemColor.h"

ProjectItemColor::ProjectItemColor(int time_ms, int transition, QObject* parent)
    : ProjectItemTransition(time_ms, transition, parent)
{
}

ProjectItem* ProjectItemColor::clone() const
{
    auto* copy = new ProjectItemColor(time_ms(), transition);
    copy->setText(text());
    copy->m_bgIndex = m_bgIndex;
    return copy;
}

void ProjectItemColor::readJson(const QJsonObject& object)
{
    ProjectItemTransition::readJson(object);
    m_bgIndex = object.value(QLatin1String("bg_index")).toInt();
}

void ProjectItemColor::writeJson(QJsonObject& object) const
{
    ProjectItemTransition::writeJson(object);
    object.insert(QLatin1String("type"), QLatin1String("colored"));
    object.insert(QLatin1String("bg_index"), m_bgIndex);
}

QImage ProjectItemColor::renderImage(int width, int height, bool withText, bool, bool)
{
    return renderBackground(m_bgIndex, width, height, withText);
}
