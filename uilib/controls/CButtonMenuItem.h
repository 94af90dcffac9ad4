#pragma once

#include "uilib/controls/CButton.h"

#include <memory>

class CWindowMenu;

// A checkable button that owns a popup menu and opens it beside itself. Open mode 0 opens and
// closes it by clicking, the checked state following the popup; mode 1 opens it when the mouse
// enters. In every mode but 0 the button swallows clicks. The popup is made on first use.
class CButtonMenuItem : public CButton
{
    Q_OBJECT
public:
    CButtonMenuItem(int styleKind, int openMode, int placement, int alignment, QWidget* parent = nullptr,
                    bool deferStyle = false);
    // Open mode 0, with an icon.
    CButtonMenuItem(int styleKind, const QString& iconName, int placement, int alignment,
                    QWidget* parent = nullptr, bool deferStyle = false);
    ~CButtonMenuItem() override;

    int openMode() const;
    // Animated; nothing while the popup shows or the button is hidden or disabled.
    void showPopup();
    void closePopup();
    bool isPopupVisible() const;
    // Makes the popup when there is none yet.
    CWindowMenu* popup() const;
    bool hasPopup() const;
    // The side the popup opens on (1 above, 2 left, 4 right, 8 below).
    void setPopupPosition(int placement);
    // Replaces the offset the palette gives.
    void setPopupOffset(int x, int y);
    QPoint popupOffset() const;
    // Closes the popup and deletes its items (hidden at once, deleted on a later turn).
    void clearItems();

    void applyStyle() override;

signals:
    void showPopupRequested(bool* allow);
    // The popup was just made, before anything else uses it.
    void popupCreated(CWindowMenu* popup);

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEvent* event) override;
    // A subclass may fill the popup here or refuse it with *allow = false.
    virtual void aboutToShowPopup(bool* allow);
    // After the popup has hidden.
    virtual void popupVisibilityChanged();

private:
    struct Private;
    void createPopup();
    void onToggled(bool checked);

    std::unique_ptr<Private> d;
};
