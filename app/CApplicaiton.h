#pragma once

#include <QApplication>

#include <memory>

class CIconRepo;
class CSettingsStorage;
class CSystemTools;

// The widget library's application: it holds the settings object and the system-tools service.
class CApplicaiton : public QApplication
{
public:
    CApplicaiton(int& argc, char** argv);
    ~CApplicaiton() override;

    void setSettings(CSettingsStorage* settings);
    CSettingsStorage* settings() const;
    // Made once through createSystemTools(), then set up with its style.
    CSystemTools* systemTools();
    // Made on first use with the application as its parent.
    CIconRepo* iconRepo();

protected:
    virtual CSystemTools* createSystemTools();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
