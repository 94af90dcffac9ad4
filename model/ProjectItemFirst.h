#pragma once

#include "model/ProjectItem.h"
#include "model/SlideInterfaces.h"

// The title slide at the head of a project; a hidden one takes no time.
class ProjectItemFirst : public ProjectItem, public IStarterItem, public IColorBackground
{
public:
    explicit ProjectItemFirst(int time_ms, QObject* parent = nullptr);

    ProjectItem* clone() const override;
    void readJson(const QJsonObject& object) override;
    void writeJson(QJsonObject& object) const override;
    using ProjectItem::renderImage;
    QImage renderImage(int width, int height, bool withText, bool scaleToFit,
                       bool blurBackground) override;
    int duration(int transitionTime_ms) const override;

    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override;

    int bgIndex() const override { return m_bgIndex; }
    void setBgIndex(int index) override { m_bgIndex = index; }

private:
    int m_bgIndex = 22;
    bool m_visible = true;
};
