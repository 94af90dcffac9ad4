#include "pages/SlideRowWidget.h"

#include "model/ProjectItemColor.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideInterfaces.h"
#include "pages/EffectSelectors.h"
#include "pages/InterfaceText.h"
#include "pages/PageShell.h"
#include "pages/SlideRowThumbnailCache.h"
#include "pages/TimeSelector.h"
#include "platform/FileTime.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/DrawPrimitives.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImageReader>
#include <QLocale>
#include <QToolTip>

#include <cmath>

namespace {

const QList<int> kTimePresets = {500, 1000, 2000, 3000, 4000, 5000, 7000, 10000, 15000, 20000};

SlideRowWidget::ShowInFolder& showInFolderFunction()
{
    static SlideRowWidget::ShowInFolder show = PageShell::showInFolder;
    return show;
}

QString detailLine(int label, const QString& value)
{
    return interfaceText(label) + QStringLiteral(": <b>%1</b>").arg(value.toHtmlEscaped());
}

} // namespace

void SlideRowWidget::setShowInFolder(ShowInFolder show)
{
    showInFolderFunction() = show ? std::move(show) : ShowInFolder(PageShell::showInFolder);
}

SlideRowWidget::SlideRowWidget(ProjectItem* item, const QString& numberText, bool isTitleSlide, QWidget* parent)
    : CButton(1044, parent)
    , AbstractRow(this, QMargins())
{
    setCheckable(true);
    setTransparentForMouse(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    buildCells(isTitleSlide);
    connectChildren();
    m_watched = {m_thumbnail, m_time, m_transition, m_motion};
    for (QWidget* widget : qAsConst(m_watched))
        widget->installEventFilter(this);
    setItem(item, numberText);
    updateTexts();
}

SlideRowWidget::~SlideRowWidget()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_itemConnections))
        disconnect(connection);
}

void SlideRowWidget::buildCells(bool isTitleSlide)
{
    m_number = new CWidgetText(1063, cell(0));
    m_number->setContentsMargins(8, 0, 8, 0);
    m_number->setAlignment(Qt::AlignCenter);
    m_thumbnail = new ThumbnailButton(this);
    cell(0)->layout()->addWidget(m_number);
    cell(0)->layout()->addWidget(m_thumbnail);

    m_time = new TimeSelector(1035, cell(1));
    m_time->setPresets(kTimePresets);
    m_time->setCustomValueEnabled(true);
    m_time->setApplyToAllEnabled(true);
    m_time->setMinimumPopupWidth(160);
    cell(1)->layout()->addWidget(m_time);

    m_transition = new TransitionSelector(1035, isTitleSlide ? 2 : 0, cell(2));
    static_cast<QBoxLayout*>(cell(2)->layout())->addWidget(m_transition, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_motion = new MotionSelector(1035, cell(3));
    static_cast<QBoxLayout*>(cell(3)->layout())->addWidget(m_motion, 0, Qt::AlignLeft | Qt::AlignVCenter);

    m_addCaption = new CButton(1026, QStringLiteral(":/plus.svg"), cell(4));
    m_addCaption->setCursor(Qt::PointingHandCursor);
    m_caption = new CButton(1035, cell(4));
    m_visibilityOrDelete = new CButton(1041, QStringLiteral(":/trash.svg"), cell(4));
    auto* captionCell = static_cast<QBoxLayout*>(cell(4)->layout());
    captionCell->addWidget(m_addCaption, 0, Qt::AlignLeft);
    captionCell->addWidget(m_caption, 0, Qt::AlignLeft | Qt::AlignVCenter);
    captionCell->addSpacing(12);
    captionCell->addWidget(m_visibilityOrDelete);
    captionCell->addSpacing(20);
}

void SlideRowWidget::connectChildren()
{
    connect(this, &QWidget::customContextMenuRequested, this, &SlideRowWidget::showContextMenu);
    connect(m_thumbnail, &CButton::clicked, this, [this] {
        if (m_item)
            emit previewClicked(m_item);
    });
    connect(m_time, &TimeSelector::msecValueChanged, this, [this](int msec) {
        if (!m_item)
            return;
        m_item->setTime_ms(msec);
        emit durationChanged(m_item);
    });
    connect(m_time, &TimeSelector::msecApplyToAll, this, &SlideRowWidget::applyDurationToAllClicked);
    connect(m_transition, &TransitionSelector::transitionChanged, this, [this](TransitionType type) {
        auto* slide = dynamic_cast<ProjectItemTransition*>(m_item.data());
        if (!slide)
            return;
        slide->transition = type;
        emit transitionChanged(slide);
    });
    connect(m_motion, &MotionSelector::motionChanged, this, [this](MotionType motion) {
        auto* slide = dynamic_cast<ProjectItemSimple*>(m_item.data());
        if (!slide)
            return;
        slide->setMotion(motion);
        emit motionChanged(slide);
    });
    const auto captionClicked = [this] {
        if (m_item)
            emit textClicked(m_item);
    };
    connect(m_addCaption, &CButton::clicked, this, captionClicked);
    connect(m_caption, &CButton::clicked, this, captionClicked);
    connect(m_visibilityOrDelete, &CButton::clicked, this, &SlideRowWidget::onVisibilityOrDelete);
}

void SlideRowWidget::setItem(ProjectItem* item, const QString& numberText)
{
    if (item != m_item) {
        for (const QMetaObject::Connection& connection : qAsConst(m_itemConnections))
            disconnect(connection);
        m_itemConnections.clear();
        m_item = item;
        if (item) {
            m_itemConnections << connect(item, &ProjectItem::textChanged, this, &SlideRowWidget::refreshCaption)
                              << connect(item, &ProjectItem::visibilityChanged, this,
                                         &SlideRowWidget::refreshVisibilityButton);
        }
    }
    if (m_item) {
        m_number->setText(numberText);
        m_time->setMsecValueSilently(m_item->time_ms());
        if (auto* slide = dynamic_cast<ProjectItemTransition*>(m_item.data()))
            m_transition->setTransitionSilently(TransitionType(slide->transition));
        auto* photo = dynamic_cast<ProjectItemSimple*>(m_item.data());
        if (photo)
            m_motion->setMotionSilently(MotionType(photo->motion()));
        m_motion->setVisible(photo != nullptr);
        refreshCaption();
    }
    if (m_thumbnail->item() != item) {
        m_thumbnail->setItem(item);
        m_thumbnail->update();
    }
    refreshVisibilityButton();
    invalidateToolTip();
}

void SlideRowWidget::updateTexts()
{
    m_time->updateText();
    m_transition->updateTexts();
    m_motion->updateTexts();
    m_addCaption->setToolTip(interfaceText(218));
    m_caption->setToolTip(interfaceText(219));
    refreshVisibilityButton();
    invalidateToolTip();
}

void SlideRowWidget::refreshCaption()
{
    QString text = m_item ? m_item->text().text : QString();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_caption->setText(text);
    m_caption->setVisible(!text.isEmpty());
    m_addCaption->setVisible(text.isEmpty());
}

void SlideRowWidget::refreshVisibilityButton()
{
    auto* starter = dynamic_cast<IStarterItem*>(m_item.data());
    if (!starter) {
        m_visibilityOrDelete->setStyleKind(1041);
        m_visibilityOrDelete->setIcon(QStringLiteral(":/trash.svg"));
        m_visibilityOrDelete->setToolTip(interfaceText(210));
        return;
    }
    const bool visible = starter->isVisible();
    m_visibilityOrDelete->setStyleKind(1040);
    m_visibilityOrDelete->setIcon(visible ? QStringLiteral(":/eye-opened.svg") : QStringLiteral(":/eye-closed.svg"));
    m_visibilityOrDelete->setToolTip(interfaceText(visible ? 206 : 209));
}

void SlideRowWidget::onVisibilityOrDelete()
{
    if (!m_item)
        return;
    if (auto* starter = dynamic_cast<IStarterItem*>(m_item.data())) {
        starter->setVisible(!starter->isVisible());
        refreshVisibilityButton();
        return;
    }
    emit deleteClicked(m_item);
}

void SlideRowWidget::invalidateToolTip()
{
    m_toolTipBuilt = false;
    m_toolTip.clear();
}

QString SlideRowWidget::toolTipText()
{
    if (!m_toolTipBuilt) {
        m_toolTip = buildToolTip();
        m_toolTipBuilt = true;
    }
    return m_toolTip;
}

QString SlideRowWidget::buildToolTip() const
{
    if (dynamic_cast<IStarterItem*>(m_item.data()))
        return interfaceText(207);
    if (dynamic_cast<ProjectItemColor*>(m_item.data()))
        return interfaceText(208);
    auto* photo = dynamic_cast<ProjectItemSimple*>(m_item.data());
    if (!photo)
        return QString();

    const QFileInfo info(photo->fileName());
    QImageReader reader(info.absoluteFilePath());
    const QString name = detailLine(211, info.fileName());
    const QString folder = detailLine(212, QDir::toNativeSeparators(info.absolutePath()));
    QStringList lines;
    if (reader.canRead()) {
        const QLocale locale(QStringLiteral("ru_RU"));
        QString created = locale.toString(FileTime::created(info), QLocale::LongFormat);
        if (created.endsWith(QLatin1String(" t")))
            created.chop(2);
        const QSize size = reader.size();
        lines << name << folder << detailLine(213, created)
              << detailLine(214, locale.formattedDataSize(info.size(), 2, QLocale::DataSizeTraditionalFormat))
              << detailLine(215, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()))
              << interfaceText(216) + QStringLiteral(": ")
                     + QString::fromLatin1(reader.format()).toHtmlEscaped();
    } else {
        lines << QStringLiteral("<font color='red'>%1</font>").arg(interfaceText(217)) << name << folder;
    }
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(lines.join(QLatin1Char('\n')));
}

bool SlideRowWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return CButton::event(event);
    const QString text = toolTipText();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, parentWidget());
    return true;
}

bool SlideRowWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !m_watched.contains(qobject_cast<QWidget*>(watched)))
        return CButton::eventFilter(watched, event);
    auto* drawn = dynamic_cast<CButtonDraw*>(watched);
    if (drawn && drawn->isTextElided())
        return false;
    QToolTip::hideText();
    return true;
}

void SlideRowWidget::showContextMenu()
{
    auto* file = dynamic_cast<IFileSourceItem*>(m_item.data());
    if (!file || !file->fileExists())
        return;
    auto* menu = new CWindowMenu(Qt::Vertical, this, CWindow::ShadowType(0), false);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString path = file->fileName();
    menu->addActionItem(QStringLiteral(":/folder-outline.svg"), interfaceText(220),
                        [path] { showInFolderFunction()(path); });
    menu->showAtCursor();
}

SlideRowWidget::ThumbnailButton::ThumbnailButton(QWidget* row)
    : CButton(1049, QStringLiteral(":/preview.svg"), row)
{
    setFixedSize(64, 64);
}

SlideRowWidget::ThumbnailButton::~ThumbnailButton() = default;

void SlideRowWidget::ThumbnailButton::setItem(ProjectItem* item)
{
    m_item = item;
}

void SlideRowWidget::ThumbnailButton::drawButton(CPainterScope& scope)
{
    if (!m_item)
        return CButton::drawButton(scope);
    const double ratio = scope.scale();
    const QRectF area = snapToDevicePixels(QRectF(contentsRect()), ratio);
    const int side = int(std::lround(area.width() * ratio));

    QPixmap picture;
    if (auto* photo = dynamic_cast<ProjectItemSimple*>(m_item.data())) {
        picture = ThumbnailCache::instance()->thumbnail(side, photo->fileName(), this);
        if (!picture.isNull() && photo->angle() != 0)
            picture = picture.transformed(QTransform().rotate(photo->angle()), Qt::FastTransformation);
    } else {
        picture = QPixmap::fromImage(m_item->renderImage(side, side, true, true, true));
    }
    picture.setDevicePixelRatio(ratio);

    QPainter* painter = scope.painter();
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrushOrigin(area.topLeft());
    painter->setBrush(QColor(101, 101, 101));
    drawRoundedRectInside(painter, area, 4);
    if (!picture.isNull()) {
        painter->setBrush(QBrush(picture));
        drawRoundedRectInside(painter, area, 4);
    }
    painter->restore();
    CButton::drawButton(scope);
}
