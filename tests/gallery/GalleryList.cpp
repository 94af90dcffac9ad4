// The list widget: button rows, a row being moved with its drop indicator, outside data
// dragged over it, and a uniform list of a thousand rows scrolled to its middle.

#include "Gallery.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CDragDrop.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CListWidgetDelegate.h"
#include "uilib/style/CStyle.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>

namespace {

class ButtonRow : public CButton, public CListWidgetDelegate
{
public:
    ButtonRow(QWidget* parent, const QModelIndex& index)
        : CButton(16, parent)
    {
        setCheckable(true);
        setFixedHeight(36);
        setModelIndex(index);
    }

    void setModelIndex(const QModelIndex& index) override { setText(index.data().toString()); }
    void clearModelIndex() override { setText(QString()); }
};

// An accent line across the place where the row would land.
class DropLine : public QWidget
{
public:
    DropLine() { setFixedHeight(12); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor accent = currentPalette()->colorSet(0).checkedNormal;
        const qreal y = height() / 2.0;
        painter.setPen(QPen(accent, 2));
        painter.drawLine(QPointF(8, y), QPointF(width() - 8, y));
        painter.setBrush(accent);
        painter.drawEllipse(QPointF(8, y), 4, 4);
    }
};

QStringList trackNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("Track %1.mp3").arg(i + 1, 2, 10, QLatin1Char('0'));
    return names;
}

struct ListSheet
{
    QWidget window;
    CListWidget* list = new CListWidget(39, &window);
    QStringListModel model;

    ListSheet(int rows, bool uniform)
        : model(trackNames(rows))
    {
        window.resize(260, 230);
        list->setGeometry(0, 0, 260, 230);
        list->setUniformRowSizes(uniform);
        auto* layout = new QVBoxLayout;
        layout->setContentsMargins(6, 6, 6, 6);
        layout->setSpacing(2);
        list->addLayout(0, layout);
        list->setCurrentLayoutId(0);
        list->setDelegateFactory(
            [](QWidget* parent, const QModelIndex& index) { return new ButtonRow(parent, index); });
        list->setModel(&model);
        window.show();
        QCoreApplication::processEvents();
    }

    ButtonRow* row(int position) const
    {
        return dynamic_cast<ButtonRow*>(list->dragDrop()->layout()->itemAt(position)->widget());
    }

    QImage shot() { return renderWidget(&window, 1.0, currentPalette()->color(2)); }
};

} // namespace

TY_GALLERY_ENTRY("list-rows")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        ListSheet sheet(5, false);
        sheet.row(1)->setChecked(true);
        clock.advance(1000);
        page.add(sheet.shot(), QString(), dark);
    }
}

TY_GALLERY_ENTRY("list-move")
{
    QApplication::setStartDragDistance(10);
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        ListSheet sheet(5, false);
        sheet.list->dragDrop()->setLocalMoveEnabled(true);
        sheet.list->dragDrop()->setDropIndicator(new DropLine);
        WindowMouse mouse(&sheet.window);
        ButtonRow* moving = sheet.row(0);
        mouse.press(moving, QPoint(40, 18));
        mouse.move(moving, QPoint(50, 18));
        mouse.move(moving, QPoint(51, 18));
        mouse.move(sheet.row(3), QPoint(40, 6));
        clock.advance(1000);
        page.add(sheet.shot(), QString(), dark);
        mouse.release(sheet.list->dragDrop()->dropIndicator(), QPoint(40, 6));
        clock.advance(1000);
        page.add(sheet.shot(), QStringLiteral("dropped"), dark);
    }
}

TY_GALLERY_ENTRY("list-external-drop")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        ListSheet sheet(5, false);
        auto* indicator = new DropLine;
        CDragDrop* dragDrop = sheet.list->dragDrop();
        dragDrop->setExternalDropEnabled(true);
        dragDrop->setDropIndicator(indicator);
        QMimeData data;
        data.setText(QStringLiteral("New track.mp3"));
        QWidget* content = sheet.list->widget();
        const QPoint point = sheet.row(2)->mapTo(content, QPoint(40, 30));
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(content, &enter);
        QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(content, &move);
        clock.advance(1000);
        page.add(sheet.shot(), QString(), dark);
    }
}

TY_GALLERY_ENTRY("list-uniform")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        ListSheet sheet(1000, true);
        QScrollBar* bar = sheet.list->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        clock.advance(1000);
        page.add(sheet.shot(), QStringLiteral("middle"), dark);
    }
}
