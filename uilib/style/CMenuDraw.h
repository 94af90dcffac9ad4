#pragma once

#include <QObject>

// Gives every menu created under its target the current palette's menu look.
class CMenuDraw : public QObject
{
public:
    CMenuDraw(QObject* target, int menuKind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_menuKind;
};
