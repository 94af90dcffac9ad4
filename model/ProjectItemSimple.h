#pragma once

#include "model/ProjectItemTransition.h"
#include "model/SlideInterfaces.h"

#include <QRectF>
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

    // One frame of a motion effect (a MotionType) at progress 0..10000, without caption;
    // motion 0 gives the still picture.
    QImage renderMotion(int motion, int width, int height, bool scaleToFit, bool blurBackground,
                        double progress);
    // renderMotion with the slide's own motion.
    QImage motionFrame(int width, int height, bool scaleToFit, bool blurBackground,
                       double progress);
    void motionFrame(QImage& out, int width, int height, bool scaleToFit, bool blurBackground,
                     double progress);
    // The part of the enlarged picture a motion shows at that progress.
    static QRectF motionCrop(int motion, const QSize& enlarged, double progress);

    void clearCaches();

private:
    QImage turned(const QImage& picture) const;
    QImage stillPicture(int width, int height, bool scaleToFit, bool blurBackground);
    QImage enlargedPicture(int width, int height) const;
    // A loaded picture turned by the angle has no transparent corners.
    bool keepsOpaque() const;
    // The blurred background for a width x height frame, made from the picture when the
    // cache holds none of that size.
    const QImage& blurredFill(const QImage& picture, int width, int height);

    QString m_fileName;
    int m_angle = 0;
    int m_motion = 0;

    // Picture caches, never copied.
    QImage m_enlarged;
    QImage m_blurred;
    QSize m_cachedSize;
    QImage m_still;
};
