#pragma once

#include "model/SlideText.h"

#include <QImage>
#include <QJsonObject>
#include <QObject>

// One slide of a project: a display time and a caption. The project owns its
// slides; they have no parent while they belong to it.
class ProjectItem : public QObject
{
    Q_OBJECT

public:
    explicit ProjectItem(int time_ms, QObject* parent = nullptr);

    // The slide a slide object describes, or null when its "type" is unknown.
    static ProjectItem* fromJson(const QJsonObject& object);

    SlideText& text() { return m_text; }
    const SlideText& text() const { return m_text; }
    void setText(const SlideText& caption);

    int time_ms() const { return m_time_ms; }
    void setTime_ms(int time_ms) { m_time_ms = time_ms; }

    int textAnimationDuration() const;
    // How long the slide shows after its transition: its time, none below 0, or its caption
    // animation's where that lasts longer.
    int shownTime_ms() const;
    // Paints the caption over the image; nothing when the caption text is empty.
    void drawText(QImage& image) const;

    virtual ProjectItem* clone() const = 0;
    virtual void readJson(const QJsonObject& object);
    virtual void writeJson(QJsonObject& object) const;
    // A new width x height picture of the slide.
    virtual QImage renderImage(int width, int height, bool withText, bool scaleToFit,
                               bool blurBackground) = 0;
    void renderImage(QImage& out, int width, int height, bool withText, bool scaleToFit,
                     bool blurBackground);
    // Length in the video for the project's transition time.
    virtual int duration(int transitionTime_ms) const = 0;

signals:
    void textChanged();
    void visibilityChanged();

protected:
    // A background picture with the caption over it when asked.
    QImage renderBackground(int bgIndex, int width, int height, bool withText) const;
    static int clampToInt(qint64 value);

private:
    SlideText m_text;
    int m_time_ms;
};
