#include "app/MainWindowParts.h"

#include "app/Application.h"
#include "app/Ui.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/style/CPlatformIntegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>

namespace {

// Ends the process by a write through a null pointer the compiler cannot see through.
[[noreturn]] void crashOnPurpose()
{
    volatile int* volatile pointer = nullptr;
    *pointer = 1;
    std::abort();
}

} // namespace

MainWindow::Titlebar::Titlebar(MainWindow* window)
    : QObject(window)
    , m_window(window)
{
    QHBoxLayout* layout = window->titleBar()->extraLayout();
    layout->setContentsMargins(8, 0, 16, 0);
    layout->setSpacing(0);
    layout->addStretch();
    m_update = new CButton(1012, QStringLiteral(":/update.svg"));
    layout->addWidget(m_update);
    layout->addSpacing(20);
    m_settings = new CButton(22, QStringLiteral(":/settings.svg"));
    layout->addWidget(m_settings);
    m_about = new CButton(22, QStringLiteral(":/help.svg"));
    layout->addWidget(m_about);
    QList<QWidget*> controls = {m_update, m_settings, m_about};
    if (QFileInfo::exists(QDir::current().filePath(QStringLiteral("crashme.txt")))) {
        m_crash = new CButton(11);
        m_crash->setText(QStringLiteral("Crash me!"));
        m_crash->setFixedHeight(24);
        layout->addWidget(m_crash);
        controls.append(m_crash);
        connect(m_crash, &CButton::clicked, this, [] { crashOnPurpose(); });
    }
    if (CPlatformIntegration* platform = window->platformIntegration())
        platform->addTitleBarControls(controls);

    m_update->hide();
    if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
        connect(app, &Application::updateAvailable, m_update, &QWidget::show);
    connect(m_update, &CButton::clicked, this, [] {
        if (Ui* ui = MainWindow::ui())
            ui->openUpdatePage();
    });
    connect(m_about, &CButton::clicked, this, [] {
        if (Ui* ui = MainWindow::ui())
            ui->showAbout();
    });
}

MainWindow::Titlebar::~Titlebar() = default;

void MainWindow::Titlebar::updateTexts()
{
    const QString title = interfaceText(81) + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    m_window->setTitle(title);
    // The task bar and window lists show the same.
    m_window->setWindowTitle(title);
    m_update->setText(interfaceText(231));
    m_settings->setToolTip(interfaceText(77));
    m_about->setToolTip(interfaceText(76));
}

MainWindow::Header::Header(MainWindow* window)
    : CPanel(1052, window)
    , m_window(window)
{
    CPanelDraw::setMargins(QMargins(0, 0, 0, 1));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(16);
    m_back = addButton(1022, ":/back.svg", &MainWindow::goBack);
    m_addPhoto = addButton(1021, ":/add-photo.svg", &MainWindow::addPhotos);
    m_addFolder = addButton(1021, ":/add-folder.svg", &MainWindow::addFolder);
    m_addColor = addButton(1021, ":/add-color.svg", &MainWindow::addColorSlide);
    m_history = addButton(1021, ":/history.svg", &MainWindow::showHistory);
    layout->addStretch();
    m_newProject = addButton(1025, ":/plus.svg", &MainWindow::askNewProject);
    m_back->hide();
    m_newProject->hide();
}

MainWindow::Header::~Header() = default;

CButton* MainWindow::Header::addButton(int styleKind, const char* icon, void (MainWindow::*action)())
{
    auto* button = new CButton(styleKind, QString::fromLatin1(icon), this);
    layout()->addWidget(button);
    connect(button, &CButton::clicked, m_window, action);
    return button;
}

void MainWindow::Header::updateButtons(int pageIndex)
{
    const bool history = pageIndex == HistoryPageIndex;
    m_back->setVisible(history);
    for (CButton* button : {m_addPhoto, m_addFolder, m_addColor, m_history})
        button->setVisible(!history);
    m_newProject->setVisible(pageIndex == ProjectPageIndex);
}

void MainWindow::Header::setEditButtonsDisabled(bool disabled)
{
    for (CButton* button : {m_addPhoto, m_addFolder, m_addColor, m_history})
        button->setEnabled(!disabled);
}

void MainWindow::Header::updateTexts()
{
    m_back->setText(interfaceText(78));
    m_addPhoto->setText(interfaceText(70));
    m_addFolder->setText(interfaceText(71));
    m_addColor->setText(interfaceText(72));
    m_history->setText(interfaceText(73));
    m_newProject->setText(interfaceText(74) + QStringLiteral("  "));
}
