#include "app/Ui.h"

#include "app/Application.h"

struct Ui::Private
{
};

namespace {
const QSize kMainWindowSize(1000, 640);
} // namespace

Ui::Ui(Application* app)
    : CSystemTools(app), d(new Private)
{
}

Ui::~Ui() = default;

CWindow* Ui::createMainWindow()
{
    auto* window = new CWindow(CWindow::TitleBar | CWindow::Movable | CWindow::Resizable | CWindow::MinimiseButton
                                   | CWindow::MaximiseButton,
                               nullptr);
    window->setTitle(QCoreApplication::applicationName());
    window->setWindowTitle(QCoreApplication::applicationName());
    window->resize(kMainWindowSize);
    window->defaultPlacement();
    return window;
}
