#include "pages/ProjectPageSelectionActions.h"

#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"

ProjectPage::SelectionActions::SelectionActions(ProjectPage* page)
{
    setContentsMargins(8, 36, 8, 8);
    setSpacing(8);
    m_up = addButton(":/up.svg", page);
    m_down = addButton(":/down.svg", page);
    m_duplicate = addButton(":/duplicate.svg", page);
    m_rotate = addButton(":/rotate.svg", page);
    addSpacing(16);
    addStretch();
    m_shuffle = addButton(":/shuffle.svg", page);
    m_sortByName = addButton(":/sort.svg", page);
    m_sortByDate = addButton(":/sort_by_date.svg", page);
    addSpacing(72);
    m_sortByName->setCheckable(true);
    m_sortByDate->setCheckable(true);

    connect(m_up, &CButton::clicked, page, &ProjectPage::moveSelectedUp);
    connect(m_down, &CButton::clicked, page, &ProjectPage::moveSelectedDown);
    connect(m_duplicate, &CButton::clicked, page, &ProjectPage::duplicateSelected);
    connect(m_rotate, &CButton::clicked, page, &ProjectPage::rotateSelected);
    connect(m_shuffle, &CButton::clicked, page, &ProjectPage::shuffleSlides);
    connect(m_sortByName, &CButton::toggled, page, &ProjectPage::sortSlidesByName);
    connect(m_sortByDate, &CButton::toggled, page, &ProjectPage::sortSlidesByDate);
}

ProjectPage::SelectionActions::~SelectionActions() = default;

CButton* ProjectPage::SelectionActions::addButton(const char* icon, ProjectPage* page)
{
    auto* button = new CButton(1027, QString::fromLatin1(icon), page);
    addWidget(button);
    return button;
}

void ProjectPage::SelectionActions::updateTexts()
{
    m_duplicate->setToolTip(interfaceText(103));
    m_rotate->setToolTip(interfaceText(102));
    m_shuffle->setToolTip(interfaceText(100));
    m_sortByName->setToolTip(interfaceText(101));
    m_sortByDate->setToolTip(interfaceText(109));
}
