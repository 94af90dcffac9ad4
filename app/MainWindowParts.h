#pragma once

#include "app/MainWindow.h"
#include "uilib/controls/CPanel.h"

#include <QObject>

class CButton;

// Fills the window's title bar: the update notice, settings and about buttons and, with
// "crashme.txt" in the working folder, a button that ends the program by a fatal fault.
class MainWindow::Titlebar : public QObject
{
public:
    explicit Titlebar(MainWindow* window);
    ~Titlebar() override;

    void updateTexts();

    CButton* updateButton() const { return m_update; }
    CButton* settingsButton() const { return m_settings; }
    CButton* aboutButton() const { return m_about; }
    // Null without "crashme.txt".
    CButton* crashButton() const { return m_crash; }

private:
    MainWindow* m_window;
    CButton* m_update = nullptr;
    CButton* m_settings = nullptr;
    CButton* m_about = nullptr;
    CButton* m_crash = nullptr;
};

// The bar above the pages: back, the add actions, history and, on the project page, a new project.
class MainWindow::Header : public CPanel
{
public:
    explicit Header(MainWindow* window);
    ~Header() override;

    void updateButtons(int pageIndex);
    void setEditButtonsDisabled(bool disabled);
    void updateTexts();

    CButton* backButton() const { return m_back; }
    CButton* addPhotoButton() const { return m_addPhoto; }
    CButton* addFolderButton() const { return m_addFolder; }
    CButton* addColorButton() const { return m_addColor; }
    CButton* historyButton() const { return m_history; }
    CButton* newProjectButton() const { return m_newProject; }

private:
    CButton* addButton(int styleKind, const char* icon, void (MainWindow::*action)());

    MainWindow* m_window;
    CButton* m_back = nullptr;
    CButton* m_addPhoto = nullptr;
    CButton* m_addFolder = nullptr;
    CButton* m_addColor = nullptr;
    CButton* m_history = nullptr;
    CButton* m_newProject = nullptr;
};
