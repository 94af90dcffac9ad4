#pragma once

#include "pages/SelectorTypes.h"

#include <QWidget>

class CButtonGroup;

// Nine buttons on a 3x3 grid, one per caption position, row by row from the top left; the centre
// is checked at first.
class PositionSelector : public QWidget
{
    Q_OBJECT
public:
    explicit PositionSelector(QWidget* parent = nullptr);
    ~PositionSelector() override;

    TextInfo::Pos position() const;
    void setPositionSilently(TextInfo::Pos position);
    CButtonGroup* buttonGroup() const { return m_group; }

signals:
    void positionChanged(TextInfo::Pos position);

private:
    CButtonGroup* m_group;
};
