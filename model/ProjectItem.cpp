#include "model/ProjectItem.h"

#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideBackground.h"
#include "model/transition/TransitionType.h"

#include <QJsonValue>
#include <QPainter>

#include <algorithm>
#include <limits>

ProjectItem::ProjectItem(int time_ms, QObject* parent)
    : QObject(parent)
    , m_time_ms(time_ms)
{
}

ProjectItem* ProjectItem::fromJson(const QJsonObject& object)
{
    const QString type = object.value(QLatin1String("type")).toString();
    ProjectItem* item = nullptr;
    if (type == QLatin1String("starter"))
        item = new ProjectItemFirst(0);
    else if (type == QLatin1String("image"))
        item = new ProjectItemSimple();
    else if (type == QLatin1String("colored"))
        item = new ProjectItemColor(1000, TransitionRandom);
    if (item)
        item->readJson(object);
    return item;
}

void ProjectItem::setText(const SlideText& caption)
{
    const bool textDiffers = caption.text != m_text.text;
    m_text = caption;
    if (textDiffers)
        emit textChanged();
}

int ProjectItem::textAnimationDuration() const
{
    if (m_text.transition == TransitionNone || m_text.text.isEmpty())
        return 0;
    const int third = m_time_ms / 3;
    return third <= 500 ? 500 : std::min(third, 3000);
}

int ProjectItem::shownTime_ms() const
{
    const int caption = isDrawnTransition(m_text.transition) ? textAnimationDuration() : 0;
    return std::max({m_time_ms, caption, 0});
}

void ProjectItem::drawText(QImage& image) const
{
    if (m_text.text.isEmpty())
        return;
    QImage caption;
    QRect rect;
    m_text.render(image, caption, rect);
    if (caption.isNull())
        return;
    QPainter painter(&image);
    painter.drawImage(rect.topLeft(), caption);
}

void ProjectItem::readJson(const QJsonObject& object)
{
    m_text = SlideText::fromJson(object.value(QLatin1String("text")).toObject());
    if (object.contains(QLatin1String("time_ms")))
        m_time_ms = object.value(QLatin1String("time_ms")).toInt();
    else if (object.contains(QLatin1String("time")))
        m_time_ms = clampToInt(qint64(object.value(QLatin1String("time")).toInt()) * 1000);
}

void ProjectItem::writeJson(QJsonObject& object) const
{
    object.insert(QLatin1String("text"), m_text.toJson());
    object.insert(QLatin1String("time_ms"), m_time_ms);
}

void ProjectItem::renderImage(QImage& out, int width, int height, bool withText, bool scaleToFit,
                              bool blurBackground)
{
    out = renderImage(width, height, withText, scaleToFit, blurBackground);
}

QImage ProjectItem::renderBackground(int bgIndex, int width, int height, bool withText) const
{
    QImage image = backgroundImage(bgIndex, QSize(width, height));
    if (withText)
        drawText(image);
    return image;
}

int ProjectItem::clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}
