#include "uilib/controls/CWidgetText.h"

#include "uilib/style/CAnimationInactive.h"
#include "uilib/style/COpacityEffect.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/QtDetours.h"
#include "uilib/style/TextOptionFilter.h"

#include <QPainter>
#include <QTextDocument>

struct CWidgetText::Private : Glob::ITextOptionCallback
{
    explicit Private(CWidgetText* label)
        : label(label)
    {
    }
    void adjustTextOption(QTextOption& option) override
    {
        if (wrapAnywhere)
            option.setWrapMode(QTextOption::WrapAnywhere);
    }

    CWidgetText* label;
    CAnimationInactive* animation = nullptr;
    Qt::TextElideMode elideMode = Qt::ElideNone;
    QString elidedText;
    QString lastText;
    bool elided = false;
    bool wrapAnywhere = false;
};

CWidgetText::CWidgetText(int styleKind, QWidget* parent)
    : QLabel(parent)
    , CDrawable(styleKind)
    , d(new Private(this))
{
    d->animation = new CAnimationInactive(1, this);
    d->animation->setWidget(this);
    auto* effect = new COpacityEffect(this);
    effect->setAutoEnable(true);
    connect(d->animation, &CAnimationInactive::disabledProgressChanged, this, [this] {
        if (auto* opacity = dynamic_cast<COpacityEffect*>(graphicsEffect()))
            opacity->setOpacity(d->animation->opacity());
    });
    applyStyle();
}

CWidgetText::CWidgetText(QWidget* parent)
    : CWidgetText(7, parent)
{
}

CWidgetText::~CWidgetText()
{
    if (d->wrapAnywhere)
        unregisterTextOptionFilter(this);
}

void CWidgetText::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleText(this, styleKind());
}

void CWidgetText::setText(const QString& text)
{
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    // Replaced, QLabel::setText has emitted already.
    if (!isQLabelSetTextHooked())
        emit textChanged();
}

void CWidgetText::setElideMode(Qt::TextElideMode mode)
{
    if (d->elideMode == mode)
        return;
    d->elideMode = mode;
    QSizePolicy policy = sizePolicy();
    policy.setHorizontalPolicy(mode == Qt::ElideNone ? QSizePolicy::Preferred : QSizePolicy::Maximum);
    setSizePolicy(policy);
    d->lastText.clear();
    d->elided = false;
    updateGeometry();
    update();
}

Qt::TextElideMode CWidgetText::elideMode() const { return d->elideMode; }
bool CWidgetText::isElided() const { return d->elided; }
bool CWidgetText::wrapAnywhere() const { return d->wrapAnywhere; }

void CWidgetText::setWrapAnywhere(bool on)
{
    if (d->wrapAnywhere == on)
        return;
    d->wrapAnywhere = on;
    if (on)
        registerTextOptionFilter(this, d.get());
    else
        unregisterTextOptionFilter(this);
    // A new layout: QLabel sets its document's option again.
    setWordWrap(wordWrap());
    updateGeometry();
    update();
}

bool CWidgetText::isRichText() const
{
    return textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(text()));
}

bool CWidgetText::isPlainWrapAnywhere() const
{
    return d->wrapAnywhere && !isRichText();
}

void CWidgetText::applyRichWrapAnywhere() const
{
    if (!d->wrapAnywhere || isPlainWrapAnywhere())
        return;
    // Makes QLabel lay out (and set its option) now, so the wish is not overwritten later.
    QLabel::heightForWidth(width());
    for (QTextDocument* document : findChildren<QTextDocument*>()) {
        QTextOption option = document->defaultTextOption();
        if (option.wrapMode() == QTextOption::WrapAnywhere)
            continue;
        option.setWrapMode(QTextOption::WrapAnywhere);
        document->setDefaultTextOption(option);
    }
}

int CWidgetText::flags() const
{
    return int(alignment()) | (isPlainWrapAnywhere() ? Qt::TextWrapAnywhere : 0);
}

QSize CWidgetText::sizeHint() const
{
    applyRichWrapAnywhere();
    return QLabel::sizeHint();
}

QSize CWidgetText::minimumSizeHint() const
{
    if (d->elideMode != Qt::ElideNone) {
        const QString sample = d->lastText.isEmpty() ? QStringLiteral("...") : d->lastText.left(1) + "...";
        return fontMetrics().boundingRect(sample).size().grownBy(contentsMargins());
    }
    if (isPlainWrapAnywhere()) {
        const QFontMetrics metrics = fontMetrics();
        return QSize(metrics.maxWidth(), metrics.height()).grownBy(contentsMargins());
    }
    applyRichWrapAnywhere();
    return QLabel::minimumSizeHint();
}

bool CWidgetText::hasHeightForWidth() const
{
    return isPlainWrapAnywhere() || QLabel::hasHeightForWidth();
}

int CWidgetText::heightForWidth(int width) const
{
    if (isPlainWrapAnywhere()) {
        const QMargins margins = contentsMargins();
        const int inner = qMax(1, width - margins.left() - margins.right());
        const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, inner, QWIDGETSIZE_MAX), flags(), text());
        return bounds.height() + margins.top() + margins.bottom();
    }
    applyRichWrapAnywhere();
    return QLabel::heightForWidth(width);
}

void CWidgetText::updateElidedText(int width)
{
    if (text() == d->lastText)
        return;
    d->lastText = text();
    d->elided = false;
    if (d->elideMode == Qt::ElideNone || isRichText())
        return;
    d->elidedText = QFontMetrics(font()).elidedText(d->lastText, d->elideMode, width);
    d->elided = d->elidedText != d->lastText;
}

void CWidgetText::paintText(const QString& text, int flags)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), flags, text);
}

void CWidgetText::paintEvent(QPaintEvent* event)
{
    updateElidedText(contentsRect().width());
    if (d->elided) {
        paintText(d->elidedText, int(alignment()));
        return;
    }
    if (isPlainWrapAnywhere()) {
        paintText(text(), flags());
        return;
    }
    applyRichWrapAnywhere();
    QLabel::paintEvent(event);
}

void CWidgetText::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    d->lastText.clear();
    d->elided = false;
}
