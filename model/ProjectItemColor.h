#pragma once

#include "model/ProjectItemTransition.h"
#include "model/SlideInterfaces.h"

// A slide of one of the indexed plain or gradient backgrounds.
class ProjectItemColor : public ProjectItemTransition, public IColorBackground
{
public:
    ProjectItemColor(int time_ms, int transition, QObject* parent = nullptr);

    ProjectItem* clone() const override;
    void readJson(const QJsonObject& object) override;
    void writeJson(QJsonObject& object) const override;
    using ProjectItem::renderImage;
    QImage renderImage(int width, int height, bool withText, bool scaleToFit,
                       bool blurBackground) override;

    int bgIndex() const override { return m_bgIndex; }
    void setBgIndex(int index) override { m_bgIndex = index; }

private:
    int m_bgIndex = 22;
};
