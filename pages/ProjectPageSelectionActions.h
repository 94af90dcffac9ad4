#pragma once

#include "pages/ProjectPage.h"

#include <QVBoxLayout>

class CButton;

// The column of buttons beside the slide list that act on the selected slides (move, copy,
// rotate) and on the whole list (shuffle, sort). The page decides which are enabled.
class ProjectPage::SelectionActions : public QVBoxLayout
{
public:
    explicit SelectionActions(ProjectPage* page);
    ~SelectionActions() override;

    void updateTexts();

    CButton* upButton() const { return m_up; }
    CButton* downButton() const { return m_down; }
    CButton* duplicateButton() const { return m_duplicate; }
    CButton* rotateButton() const { return m_rotate; }
    CButton* shuffleButton() const { return m_shuffle; }
    CButton* sortByNameButton() const { return m_sortByName; }
    CButton* sortByDateButton() const { return m_sortByDate; }

private:
    CButton* addButton(const char* icon, ProjectPage* page);

    CButton* m_up;
    CButton* m_down;
    CButton* m_duplicate;
    CButton* m_rotate;
    CButton* m_shuffle;
    CButton* m_sortByName;
    CButton* m_sortByDate;
};
