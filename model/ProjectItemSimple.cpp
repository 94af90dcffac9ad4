#include "model/ProjectItemSimple.h"

#include "model/transition/TransitionType.h"

#include <QFile>
#include <QJsonValue>

namespace {

// The caption a new photo slide starts with: white text on a black box.
SlideText photoCaption()
{
    SlideText caption;
    caption.text_color = Qt::white;
    caption.bg_color = Qt::black;
    caption.position = TextInfo::BottomRight;
    return caption;
}

} // namespace

ProjectItemSimple::ProjectItemSimple()
    : ProjectItemSimple(QString(), 1000, TransitionRandom)
{
}

ProjectItemSimple::ProjectItemSimple(const QString& fileName, int time_ms, int transition,
                                     QObject* parent)
    : ProjectItemTransition(time_ms, transition, parent)
    , m_fileName(fileName)
{
    text() = photoCaption();
}

ProjectItem* ProjectItemSimple::clone() const
{
    auto* copy = new ProjectItemSimple(m_fileName, time_ms(), transition);
    copy->setText(text());
    copy->m_angle = m_angle;
    copy->m_motion = m_motion;
    return copy;
}

void ProjectItemSimple::readJson(const QJsonObject& object)
{
    ProjectItemTransition::readJson(object);
    m_fileName = object.value(QLatin1String("file_name")).toString();
    m_angle = object.value(QLatin1String("angle")).toInt();
    const QJsonValue motion = object.value(QLatin1String("motion"));
    if (!motion.isUndefined())
        m_motion = motion.toInt();
}

void ProjectItemSimple::writeJson(QJsonObject& object) const
{
    ProjectItemTransition::writeJson(object);
    object.insert(QLatin1String("file_name"), m_fileName);
    object.insert(QLatin1String("type"), QLatin1String("image"));
    if (m_motion != 0)
        object.insert(QLatin1String("motion"), m_motion);
    object.insert(QLatin1String("angle"), m_angle);
}

bool ProjectItemSimple::fileExists() const
{
    return QFile::exists(m_fileName);
}

void ProjectItemSimple::rotate()
{
    // Same as adding 90 and taking a result above 270 as 0, without overflow.
    m_angle = m_angle > 180 ? 0 : m_angle + 90;
    clearCaches();
}
