#pragma once

#include "model/Resolution.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CListWidgetDelegate.h"

#include <QPointer>
#include <QWidget>

class CButtonGroup;
class CListWidget;
class CWidgetText;
class HistoryModel;
class QSortFilterProxyModel;

// The page of composed projects: one row per history entry describing its video, sortable by
// date or file name, with actions per row and a footer to open the chosen project or clear the
// history.
class HistoryPage : public QWidget
{
    Q_OBJECT
public:
    // The column headings.
    class Header : public CWidgetBase
    {
    public:
        explicit Header(QWidget* parent);
        ~Header() override;

        CButton* dateHeading;
        CButton* nameHeading;
        CWidgetText* resolutionLabel;
        CWidgetText* durationLabel;
        CWidgetText* sizeLabel;
        CWidgetText* actionLabel;
    };

    class Footer : public CWidgetBase
    {
    public:
        explicit Footer(QWidget* parent);
        ~Footer() override;

        CButton* openButton;
        CButton* clearButton;
    };

    // One entry: the video's date, name, resolution, duration and size, and its actions.
    class RowWidget : public CButton, public CListWidgetDelegate
    {
    public:
        RowWidget(HistoryPage* page, QWidget* parent);
        ~RowWidget() override;

        void setModelIndex(const QModelIndex& index) override;
        void clearModelIndex() override;
        // Shows the stored entry again, in the columns of the page's header.
        void relayout() override;

        QString fileName() const { return m_fileName; }
        CWidgetText* dateLabel() const { return m_dateLabel; }
        CWidgetText* nameLabel() const { return m_nameLabel; }
        CWidgetText* resolutionLabel() const { return m_resolutionLabel; }
        CWidgetText* durationLabel() const { return m_durationLabel; }
        CWidgetText* sizeLabel() const { return m_sizeLabel; }
        QWidget* actions() const { return m_actions; }
        CButton* folderButton() const { return m_folder; }
        CButton* playButton() const { return m_play; }
        CButton* deleteButton() const { return m_delete; }

    protected:
        bool event(QEvent* event) override;

    private:
        void alignColumns();

        QPointer<HistoryPage> m_page;
        QString m_fileName;
        Resolution m_resolution;
        qint64 m_durationSeconds = 0;
        CWidgetText* m_dateLabel;
        CWidgetText* m_nameLabel;
        CWidgetText* m_resolutionLabel;
        CWidgetText* m_durationLabel;
        CWidgetText* m_sizeLabel;
        QWidget* m_actions;
        CButton* m_folder;
        CButton* m_play;
        CButton* m_delete;
    };

    // Over the running application's history.
    explicit HistoryPage(QWidget* parent = nullptr);
    HistoryPage(HistoryModel* history, QWidget* parent);
    ~HistoryPage() override;

    void updateTexts();

    Header* header() const { return m_header; }
    CListWidget* list() const { return m_list; }
    Footer* footer() const { return m_footer; }
    CButtonGroup* rowGroup() const { return m_rowGroup; }
    QSortFilterProxyModel* sortModel() const { return m_sortModel; }

signals:
    void openProjectClicked(QString fileName);

private:
    void sortBy(int column);
    void updateSortIndicators();
    void updateButtons();
    void clearHistory();
    void openChecked();

    QPointer<HistoryModel> m_history;
    Header* m_header;
    CListWidget* m_list;
    Footer* m_footer;
    CButtonGroup* m_rowGroup;
    QSortFilterProxyModel* m_sortModel;
};
