#pragma once

#include "pages/AbstractRow.h"
#include "pages/ProjectPage.h"
#include "uilib/controls/CPanel.h"

class CWidgetText;

// The column captions above the slide list. Its updateTexts works out the five column widths
// that the for-all bar and every slide row take from it, so that their cells line up.
class ProjectPage::SlidesHeader : public CPanel, public AbstractRow
{
public:
    explicit SlidesHeader(QWidget* parent = nullptr);
    ~SlidesHeader() override;

    void updateTexts();
    void applyStyle() override;

    // The caption of a column, 0 to 4.
    CWidgetText* captionLabel(int column) const;

private:
    ColumnWidths measureColumns() const;

    QVector<CWidgetText*> m_captions;
};
