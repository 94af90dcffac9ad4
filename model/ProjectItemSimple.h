#pragma once

#include "model/ProjectItemTransition.h"
#include "model/SlideInterfaces.h"

#include <QSize>

// A photo slide: a picture file, turned by its angle and moved by its motion.
class ProjectItemSimple : public ProjectItemTransition, public IFileSourceItem
{
public:
    ProjectItemSimple();
    ProjectItemSimple(const QString& fileName, int time_ms, int transition,
                      QObject* parent = nullptr);

    ProjectItem* clone() const override;
    void readJson(const QJsonObject& object) override;
    void writeJson(QJsonObject& object) const override;
    using ProjectItem::renderImage;
    QImage renderImage(int width, int height, bool withText, bool scaleToFit,
                       bool blurBackground) override;

    QString fileName() const override { return m_fileName; }
    bool fileExists() const override;

    int angle() const { return m_angle; }
    int motion() const { return m_motion; } // a MotionType
    void setMotion(int motion) { m_motion = motion; }
    // Turns the picture by another 90 degrees, after 270 back to 0.
    void rotate();

    void clearCaches();

private:
    QString m_fileName;
    int m_angle = 0;
    int m_motion = 0;

    // Picture caches, never copied.
    QImage m_enlarged;
    QImage m_blurred;
    QSize m_cachedSize;
    QImage m_still;
};
