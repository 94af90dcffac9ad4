#pragma once

#include "uilib/controls/CPanel.h"

#include <memory>

class SettingsProvider;

// The settings page: the user's defaults for new slide shows, music and export, and the update
// check. Every control starts from its setting, writes each user change at once and follows
// changes made elsewhere; there is no save or cancel step.
class SettingsBox : public CPanel
{
public:
    // Over the running application's settings.
    explicit SettingsBox(QWidget* parent = nullptr);
    SettingsBox(SettingsProvider* settings, QWidget* parent);
    ~SettingsBox() override;

    void updateTexts();

    struct Private;
    Private* controls() const { return d.get(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Private> d;
};
