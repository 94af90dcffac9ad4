#include "uilib/controls/CTextEdit.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>

#include <memory>

namespace {

// The text sits this far inside the viewport.
constexpr double DocumentMargin = 4.0;

} // namespace

CTextEdit::CTextEdit(int styleKind, QWidget* parent)
    : QPlainTextEdit(parent)
    , CPanelDraw(this)
    , CDrawable(styleKind)
    , CEventFocus1(this)
    , m_animation(new CAnimationWidget(2, this))
{
    viewport()->setAttribute(Qt::WA_Hover);
    setFrameStyle(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(DocumentMargin);
    new CMenuDraw(horizontalScrollBar(), 41);
    new CMenuDraw(verticalScrollBar(), 41);
    new CMenuDraw(viewport(), 41);
    auto* corner = new QWidget;
    corner->setAutoFillBackground(false);
    setCornerWidget(corner);
    m_animation->setWidget(this);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { emit plainTextChanged(toPlainText()); });
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, &CTextEdit::layoutScrollBars,
            Qt::QueuedConnection);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &CTextEdit::layoutScrollBars,
            Qt::QueuedConnection);
    applyStyle();
}

CTextEdit::CTextEdit(QWidget* parent)
    : CTextEdit(34, parent)
{
}

CTextEdit::~CTextEdit() = default;

void CTextEdit::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleTextEdit(this, styleKind());
}

void CTextEdit::setPadding(const QMargins& padding)
{
    CPanelDraw::setPadding(padding);
    const int inset = int(DocumentMargin);
    setViewportMargins(padding - QMargins(inset, inset, inset, inset));
}

void CTextEdit::setFitToDocument(bool grow)
{
    if (grow == m_grow)
        return;
    m_grow = grow;
    if (grow) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        m_documentSize = connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
                                 this, [this] { updateGeometry(); });
    } else {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        disconnect(m_documentSize);
    }
    updateGeometry();
}

void CTextEdit::setTextIfChanged(const QString& text)
{
    if (text != toPlainText())
        setPlainText(text);
}

void CTextEdit::setTextSilently(const QString& text)
{
    const bool blocked = blockSignals(true);
    setTextIfChanged(text);
    blockSignals(blocked);
}

bool CTextEdit::hasHeightForWidth() const { return m_grow; }

int CTextEdit::heightForWidth(int width) const
{
    if (!m_grow)
        return -1;
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    const QSize panel = CPanelDraw::sizeHint();
    copy->setTextWidth(qMax(width - panel.width(), 10));
    return panel.height() - 2 * int(DocumentMargin) + qRound(copy->size().height());
}

QSize CTextEdit::minimumSizeHint() const
{
    if (!m_grow)
        return QPlainTextEdit::minimumSizeHint();
    const int line = QFontMetrics(document()->defaultFont()).lineSpacing();
    return QSize(QPlainTextEdit::minimumSizeHint().width(), line + CPanelDraw::sizeHint().height());
}

QSize CTextEdit::sizeHint() const
{
    if (sizeAdjustPolicy() != QAbstractScrollArea::AdjustIgnored)
        return minimumSizeHint();
    return QSize(16, 16);
}

bool CTextEdit::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // The editing step paints once.
        setUpdatesEnabled(false);
        QTimer::singleShot(0, this, [this] { setUpdatesEnabled(true); });
        break;
    case QEvent::FocusIn: emit focused(static_cast<QFocusEvent*>(event)->reason()); break;
    case QEvent::FocusOut: emit focusLost(); break;
    case QEvent::Paint: {
        CPainterScope scope(this);
        CPanelDraw::paint(scope, *m_animation);
        break;
    }
    case QEvent::Resize: {
        const bool result = QPlainTextEdit::event(event);
        CPanelDraw::resize(size());
        layoutScrollBars();
        return result;
    }
    case QEvent::LayoutRequest: {
        const bool result = QPlainTextEdit::event(event);
        layoutScrollBars();
        return result;
    }
    default: break;
    }
    return QPlainTextEdit::event(event);
}

void CTextEdit::layoutScrollBars()
{
    QWidget* horizontal = horizontalScrollBar()->parentWidget();
    QWidget* vertical = verticalScrollBar()->parentWidget();
    if (!horizontal || !vertical || horizontal == this || vertical == this)
        return;
    const QMargins border = borderWidths();
    const bool hasHorizontal = horizontal->isVisibleTo(this);
    const bool hasVertical = vertical->isVisibleTo(this);
    const int w = width();
    const int h = height();
    if (hasHorizontal) {
        const int barHeight = horizontal->height();
        horizontal->setGeometry(border.left(), h - border.bottom() - barHeight,
                                w - border.right() - border.left() - (hasVertical ? vertical->width() : 0),
                                barHeight);
    }
    if (hasVertical) {
        const int barWidth = vertical->width();
        vertical->setGeometry(w - border.right() - barWidth, border.top(), barWidth,
                              h - border.bottom() - border.top() - (hasHorizontal ? horizontal->height() : 0));
    }
    if (hasHorizontal && hasVertical && cornerWidget())
        cornerWidget()->setGeometry(vertical->x(), horizontal->y(), vertical->width(), horizontal->height());
}
