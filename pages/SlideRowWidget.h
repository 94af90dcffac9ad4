#pragma once

#include "model/ProjectItem.h"
#include "pages/AbstractRow.h"
#include "uilib/controls/CButton.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>

#include <functional>

class CWidgetText;
class MotionSelector;
class TimeSelector;
class TransitionSelector;

// One row of the slide list: number, thumbnail, time, transition, motion, caption and a delete
// button (for the title slide a show/hide button). Edits go straight into the slide; clicks that
// need the page are only announced. The row holds its slide weakly.
class SlideRowWidget : public CButton, public AbstractRow
{
    Q_OBJECT
public:
    class ThumbnailButton;
    class ThumbnailCache;

    // Shows a file in the file manager; replaceable so that tests open nothing.
    using ShowInFolder = std::function<void(const QString& path)>;
    static void setShowInFolder(ShowInFolder show);

    SlideRowWidget(ProjectItem* item, const QString& numberText, bool isTitleSlide, QWidget* parent = nullptr);
    ~SlideRowWidget() override;

    // Binds a slide, or refreshes the row for the same slide with a new number text.
    void setItem(ProjectItem* item, const QString& numberText);
    ProjectItem* item() const { return m_item; }
    void updateTexts();

    CWidgetText* numberLabel() const { return m_number; }
    ThumbnailButton* thumbnail() const { return m_thumbnail; }
    TimeSelector* timeSelector() const { return m_time; }
    TransitionSelector* transitionSelector() const { return m_transition; }
    MotionSelector* motionSelector() const { return m_motion; }
    CButton* addCaptionButton() const { return m_addCaption; }
    CButton* captionButton() const { return m_caption; }
    CButton* visibilityOrDeleteButton() const { return m_visibilityOrDelete; }
    // The rich text the row shows on hover, built on first demand.
    QString toolTipText();

signals:
    void deleteClicked(ProjectItem* item);
    void previewClicked(ProjectItem* item);
    void textClicked(ProjectItem* item);
    void durationChanged(ProjectItem* item);
    void applyDurationToAllClicked(int msec);
    void transitionChanged(ProjectItem* item);
    void motionChanged(ProjectItem* item);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCells(bool isTitleSlide);
    void connectChildren();
    void refreshCaption();
    void refreshVisibilityButton();
    void invalidateToolTip();
    QString buildToolTip() const;
    void showContextMenu();
    void onVisibilityOrDelete();

    CWidgetText* m_number;
    ThumbnailButton* m_thumbnail;
    TimeSelector* m_time;
    TransitionSelector* m_transition;
    MotionSelector* m_motion;
    CButton* m_addCaption;
    CButton* m_caption;
    CButton* m_visibilityOrDelete;
    bool m_toolTipBuilt = false;
    QString m_toolTip;
    QList<QMetaObject::Connection> m_itemConnections;
    QPointer<ProjectItem> m_item;
    QList<QWidget*> m_watched;
};

// The 64 x 64 picture of a row's slide over a grey rounded square, under the preview look.
class SlideRowWidget::ThumbnailButton : public CButton
{
    Q_OBJECT
public:
    explicit ThumbnailButton(QWidget* row);
    ~ThumbnailButton() override;

    ProjectItem* item() const { return m_item; }
    void setItem(ProjectItem* item);

protected:
    void drawButton(CPainterScope& scope) override;

private:
    QPointer<ProjectItem> m_item;
};
