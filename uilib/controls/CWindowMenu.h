#pragma once

#include "uilib/controls/CWindowPopup.h"

#include <functional>
#include <memory>

class CButton;
class CScrollArea;
class QBoxLayout;

// A popup menu: a column (or row) of item widgets, in a scroll area when asked. Items that own a
// sub-menu open it after a hover delay; clicking any other item closes every open popup.
class CWindowMenu : public CWindowPopup
{
    Q_OBJECT
public:
    CWindowMenu(int styleKind, Qt::Orientation orientation, QWidget* parent = nullptr,
                CWindow::ShadowType shadowType = CWindow::Default, bool deferStyle = false);
    // The menu look (style kind 3).
    explicit CWindowMenu(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr,
                         CWindow::ShadowType shadowType = CWindow::Default, bool deferStyle = false);
    ~CWindowMenu() override;

    void addWidget(QWidget* widget);
    CButton* addButtonItem(int styleKind, const QString& iconName = QString());
    // An item of the menu-item look (kind 16) that runs the action when clicked.
    CButton* addActionItem(const QString& iconName, const QString& text, std::function<void()> action,
                           int styleKind = 16);
    QBoxLayout* itemLayout() const;
    CScrollArea* scrollArea() const;

    void setCloseOnItemClick(bool close);
    bool closeOnItemClick() const;
    // The hover delay before a sub-menu item opens its menu.
    void setClickDelay(int ms);
    int clickDelay() const;

    // Once: the items move into a scroll area of that kind. Bit 1 allows the horizontal scroll bar,
    // bit 2 the vertical one.
    void setScrollable(int scrollBars, int styleKind);
    // Scrolls the item into view with 50 pixels around it, now or when the menu shows.
    void ensureItemVisible(QWidget* item);
    void showAtCursor();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Private;
    void onItemAdded(QWidget* item);
    void onItemRemoved(QWidget* item);
    void onItemEntered(QWidget* item);
    void onHoverTimeout();
    QWidget* itemParent() const;
    void scrollToPending();

    std::unique_ptr<Private> d;
};
