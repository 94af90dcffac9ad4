#pragma once

#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CListWidgetDelegate.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QVBoxLayout>

class AudioFilesController;
class CListWidget;
class CWidgetIcon;
class CWidgetText;
class CWidgetTextIcon;
class DragIcon;
class ProjectFile;
class SettingsProvider;
class TimeSelector;
class VideoPlayerWidget;

// The music section of the project page: the preview panel's track list as rows that can be
// played, deleted and reordered, files added by the dialog or by dropping them, the loop,
// offset and fade of the project's music and, below, the number of tracks and their length.
class AudioBox : public CPanel
{
public:
    class IsEmptyLayout;
    class RowWidget;

    // Follows the running application's settings while no project is bound.
    AudioBox(VideoPlayerWidget* preview, QWidget* parent);
    AudioBox(VideoPlayerWidget* preview, SettingsProvider* settings, QWidget* parent);
    ~AudioBox() override;

    // Null unbinds.
    void setProject(ProjectFile* project);
    void updateTexts();
    void applyStyle() override;

    // The preview panel's track list while a project is bound, else null.
    AudioFilesController* model() const;
    CListWidget* list() const { return m_list; }
    IsEmptyLayout* emptyLayout() const { return m_emptyLayout; }
    CPanel* footer() const { return m_footer; }
    CButton* addButton() const { return m_addButton; }
    CWidgetText* totalLabel() const { return m_totalLabel; }
    CButton* loopButton() const { return m_loopButton; }
    CWidgetIcon* offsetHint() const { return m_offsetHint; }
    TimeSelector* offsetSelector() const { return m_offsetSelector; }
    CWidgetIcon* fadeHint() const { return m_fadeHint; }
    TimeSelector* fadeSelector() const { return m_fadeSelector; }
    DragIcon* dragIcon() const { return m_dragIcon; }

private:
    void setUpFooter();
    void setUpList();
    void addAudioFiles();
    void setLoop(bool loop);
    void setOffset(int seconds);
    void setFade(int seconds);
    void updateAudioSettings();
    void updateEmptyState();
    void updateTotal();
    int rowCount() const;
    void colourHints();

    QPointer<VideoPlayerWidget> m_preview;
    QPointer<SettingsProvider> m_settings;
    QPointer<ProjectFile> m_project;
    QPointer<AudioFilesController> m_model;
    CListWidget* m_list;
    IsEmptyLayout* m_emptyLayout;
    CPanel* m_footer;
    CButton* m_addButton;
    CWidgetText* m_totalLabel;
    CButton* m_loopButton;
    CWidgetIcon* m_offsetHint;
    CWidgetText* m_offsetLabel;
    TimeSelector* m_offsetSelector;
    CWidgetIcon* m_fadeHint;
    CWidgetText* m_fadeLabel;
    TimeSelector* m_fadeSelector;
    DragIcon* m_dragIcon;
};

// The hint and add button that lie over the empty track list.
class AudioBox::IsEmptyLayout : public QVBoxLayout
{
public:
    // Installed on the list.
    IsEmptyLayout(AudioBox* owner, QWidget* list);

    CWidgetTextIcon* hint() const { return m_hint; }
    CButton* addButton() const { return m_addButton; }
    void setShown(bool shown);

protected:
    // A drag over the add button is a drag over the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AudioBox* m_owner;
    CWidgetTextIcon* m_hint;
    CButton* m_addButton;
};

// One track: drag handle, number, name, length (or playing position), play and delete.
class AudioBox::RowWidget : public CButton, public CListWidgetDelegate
{
public:
    RowWidget(AudioBox* owner, QWidget* parent);
    ~RowWidget() override;

    QSize sizeHint() const override;
    void applyStyle() override;
    void setModelIndex(const QModelIndex& index) override;
    void clearModelIndex() override;

    QModelIndex index() const { return m_index; }
    CWidgetIcon* dragHandle() const { return m_handle; }
    CWidgetText* numberLabel() const { return m_number; }
    CWidgetText* nameLabel() const { return m_name; }
    CWidgetText* durationLabel() const { return m_duration; }
    CButton* playButton() const { return m_play; }
    CButton* deleteButton() const { return m_delete; }

private:
    void onPlayToggled(bool checked);
    void onDelete();
    AudioFilesController* model() const;

    QPointer<AudioBox> m_owner;
    QPersistentModelIndex m_index;
    CWidgetIcon* m_handle;
    CWidgetText* m_number;
    CWidgetText* m_name;
    CWidgetText* m_duration;
    CButton* m_play;
    CButton* m_delete;
};
