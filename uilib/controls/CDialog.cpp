#include "uilib/controls/CDialog.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMap>
#include <QPointer>

namespace {

const char* const kButtonIndexProperty = "VORNPROP_ButtonIndex";

} // namespace

struct CDialog::Private
{
    QPointer<QEventLoop> loop;
    int defaultIndex = 0;
    int result = 0;
    QMap<int, QPointer<CButton>> buttons;
    CPanel* contentPanel = nullptr;
    CPanel* buttonPanel = nullptr;
    QMetaObject::Connection showConnection;
};

CDialog::CDialog(int styleKind, int options, QWidget* parent, CWindow::ShadowType shadowType, bool deferStyle)
    : CWindow(styleKind, options | 17, parent, shadowType, true, QString())
    , d(new Private)
{
    setWindowModality(Qt::WindowModal);
    auto* column = new QVBoxLayout(contentWidget());
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    d->contentPanel = new CPanel(contentWidget());
    d->buttonPanel = new CPanel(contentWidget());
    d->buttonPanel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    column->addWidget(d->contentPanel);
    column->addWidget(d->buttonPanel);
    auto* row = new QHBoxLayout(d->buttonPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(1);
    if (!deferStyle)
        applyStyle();
}

CDialog::CDialog(QWidget* parent, CWindow::ShadowType shadowType, bool deferStyle)
    : CDialog(1, 16, parent, shadowType, deferStyle)
{
}

CDialog::~CDialog()
{
    dropPendingShow();
    // A nested loop still waiting for this dialog ends with 0.
    if (d->loop)
        d->loop->exit(0);
}

CPanel* CDialog::contentPanel() const { return d->contentPanel; }
CPanel* CDialog::buttonPanel() const { return d->buttonPanel; }
int CDialog::result() const { return d->result; }

QBoxLayout* CDialog::buttonLayout() const
{
    return qobject_cast<QBoxLayout*>(d->buttonPanel->layout());
}

bool CDialog::addButton(int index, CButton* button, bool isDefault, bool atFront)
{
    QBoxLayout* row = buttonLayout();
    if (!row || !button)
        return false;
    button->setProperty(kButtonIndexProperty, index);
    if (atFront)
        row->insertWidget(0, button);
    else
        row->addWidget(button);
    d->buttons.insert(index, button);
    if (isDefault && d->defaultIndex == 0)
        d->defaultIndex = index;
    connect(button, &CButton::clicked, this, [this, button] { done(button->property(kButtonIndexProperty).toInt()); });
    return true;
}

CButton* CDialog::button(int index) const
{
    return d->buttons.value(index);
}

CButton* CDialog::defaultButton() const
{
    return d->defaultIndex != 0 ? button(d->defaultIndex) : nullptr;
}

void CDialog::done(int index)
{
    d->result = index;
    close();
    // Hiding ended the loop already, except for a minimised dialog or one still waiting for its
    // parent to show.
    if (!isVisible())
        endLoop();
}

void CDialog::endLoop()
{
    if (d->loop)
        d->loop->exit(d->result);
}

void CDialog::dropPendingShow()
{
    if (d->showConnection)
        disconnect(d->showConnection);
    d->showConnection = QMetaObject::Connection();
}

void CDialog::showModeless(CWindow::ShowStrategy placement)
{
    dropPendingShow();
    auto* parentWindow = parentWidget() ? qobject_cast<CWindow*>(parentWidget()->window()) : nullptr;
    if (parentWindow && (parentWindow->isHidden() || parentWindow->isMinimized())) {
        if (parentWindow->isMinimized())
            QApplication::alert(parentWindow, 0);
        d->showConnection = connect(parentWindow, &CWidgetBase::showed, this, [this] {
            dropPendingShow();
            showWindow(CWindow::CenteredOnParent);
        });
        return;
    }
    showWindow(placement);
}

int CDialog::exec(CWindow::ShowStrategy placement)
{
    if (d->loop)
        return 0;
    const bool deleteOnClose = testAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_DeleteOnClose, false);
    d->result = 0;
    showModeless(placement);
    QEventLoop loop;
    d->loop = &loop;
    const QPointer<CDialog> self(this);
    loop.exec(QEventLoop::DialogExec);
    if (!self)
        return 0;
    d->loop = nullptr;
    const int result = d->result;
    if (deleteOnClose)
        delete this;
    return result;
}

void CDialog::setVisible(bool visible)
{
    if (!visible)
        dropPendingShow();
    CWindow::setVisible(visible);
}

bool CDialog::handleKey(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && d->defaultIndex != 0) {
        // Only a default button that can be pressed ends the dialog.
        CButton* defaultButton = this->defaultButton();
        if (defaultButton && defaultButton->isVisible() && defaultButton->isEnabled())
            done(d->defaultIndex);
        event->accept();
        return true;
    }
    if (event->matches(QKeySequence::Cancel)) {
        done(0);
        event->accept();
        return true;
    }
    return false;
}

bool CDialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::Hide:
        if (!((options() & 4) && isMinimized()))
            endLoop();
        break;
    case QEvent::Close:
        dropPendingShow();
        break;
    default:
        break;
    }
    return CWindow::event(event);
}
