#pragma once

#include "pages/SelectorTypes.h"

#include <QWidget>

class CButtonGroup;

// Five round buttons for the caption size steps -2 to 2, each showing "aA" at its size; 0 is
// checked at first.
class FontSizeSelector : public QWidget
{
    Q_OBJECT
public:
    explicit FontSizeSelector(QWidget* parent = nullptr);
    ~FontSizeSelector() override;

    TextInfo::FontSize fontSize() const;
    void setFontSize(TextInfo::FontSize size);
    CButtonGroup* buttonGroup() const { return m_group; }

signals:
    void fontSizeChanged(TextInfo::FontSize size);

private:
    CButtonGroup* m_group;
};
