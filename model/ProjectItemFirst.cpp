#include "model/ProjectItemFirst.h"

ProjectItemFirst::ProjectItemFirst(int time_ms, QObject* parent)
    : ProjectItem(time_ms, parent)
{
    text().text = QStringLiteral("Моё слайд-шоу");
    text().text_color = Qt::white;
}

ProjectItem* ProjectItemFirst::clone() const
{
    auto* copy = new ProjectItemFirst(time_ms());
    copy->setText(text());
    copy->m_bgIndex = m_bgIndex;
    copy->m_visible = m_visible;
    return copy;
}

void ProjectItemFirst::readJson(const QJsonObject& object)
{
    ProjectItem::readJson(object);
    m_bgIndex = object.value(QLatin1String("bg_index")).toInt();
    m_visible = object.value(QLatin1String("visible")).toBool();
}

void ProjectItemFirst::writeJson(QJsonObject& object) const
{
    ProjectItem::writeJson(object);
    object.insert(QLatin1String("type"), QLatin1String("starter"));
    object.insert(QLatin1String("visible"), m_visible);
    object.insert(QLatin1String("bg_index"), m_bgIndex);
}

QImage ProjectItemFirst::renderImage(int width, int height, bool withText, bool, bool)
{
    return renderBackground(m_bgIndex, width, height, withText);
}

int ProjectItemFirst::duration(int) const
{
    return m_visible ? shownTime_ms() : 0;
}

void ProjectItemFirst::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit visibilityChanged();
}
