#include "app/MainWindowWelcomePage.h"

#include "app/DroppedFiles.h"
#include "model/picture/ImageLoader.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CAnimationProgress.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QVBoxLayout>

MainWindow::WelcomePage::WelcomePage(MainWindow* window)
    : DropIndicator(window, 0, true)
    , m_window(window)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);
    m_addButton = new CButton(1039, QStringLiteral(":/add-photo.svg"), this);
    layout->addStretch();
    layout->addWidget(m_addButton, 0, Qt::AlignHCenter);
    layout->addStretch();

    m_highlight = new CAnimationProgress(this, currentPalette()->animationValue(1));
    connect(m_highlight, &CAnimationProgress::progressChanged, this, &DropIndicator::setHighlight);

    setAcceptDrops(true);
    applyStyle();
    connect(m_addButton, &CButton::clicked, window, &MainWindow::addPhotos);
}

MainWindow::WelcomePage::~WelcomePage() = default;

void MainWindow::WelcomePage::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData())
        return;
    m_pendingFiles = filesFromMimeData(event->mimeData(), supportedImageSuffixes());
    if (m_pendingFiles.isEmpty()) {
        event->ignore();
        return;
    }
    m_highlight->playForward();
    event->acceptProposedAction();
}

void MainWindow::WelcomePage::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_pendingFiles.isEmpty())
        event->acceptProposedAction();
}

void MainWindow::WelcomePage::dragLeaveEvent(QDragLeaveEvent* event)
{
    Q_UNUSED(event);
    if (m_pendingFiles.isEmpty())
        return;
    m_highlight->playBackward();
    m_pendingFiles.clear();
}

void MainWindow::WelcomePage::dropEvent(QDropEvent* event)
{
    if (m_pendingFiles.isEmpty())
        return;
    const QStringList files = m_pendingFiles;
    m_highlight->playBackward();
    m_pendingFiles.clear();
    event->acceptProposedAction();
    m_window->addImageFiles(files);
}
