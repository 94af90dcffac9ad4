#pragma once

#include "pages/ProjectPage.h"

#include <QHBoxLayout>

class CComboBase;
class CLinEdit;
class CWidgetText;

// The row under the slide list that names the video and picks its container. The name holds
// no folder, extension or character that a file name may not hold; a chosen format becomes
// the settings' default at once.
class ProjectPage::OutFileName : public QHBoxLayout
{
public:
    OutFileName();
    ~OutFileName() override;

    void updateTexts();
    // Shows the name, also as the placeholder an emptied edit falls back to.
    void setName(const QString& name);

    CWidgetText* label() const { return m_label; }
    CLinEdit* nameEdit() const { return m_name; }
    CComboBase* formatCombo() const { return m_format; }

    static constexpr int kMaxNameLength = 200;

private:
    CWidgetText* m_label;
    CLinEdit* m_name;
    CComboBase* m_format;
};
