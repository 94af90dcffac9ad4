// Line edits, text edits and spin boxes in their states.

#include "Gallery.h"

#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CSpinBox.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CStyle.h"

#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>

namespace {

// A magnifier drawn in grey, for the leading icon.
QString writeSearchIcon(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("search.svg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">"
               "<circle cx=\"6.5\" cy=\"6.5\" r=\"4.5\" fill=\"none\" stroke=\"#808080\" stroke-width=\"1.6\"/>"
               "<line x1=\"10\" y1=\"10\" x2=\"14.5\" y2=\"14.5\" stroke=\"#808080\" stroke-width=\"2\"/></svg>");
    return path;
}

// A sheet of captioned rows on the palette's window colour.
class Sheet
{
public:
    Sheet() : m_grid(new QGridLayout(&widget)) { m_grid->setColumnMinimumWidth(1, 240); }

    template <class Edit>
    Edit* add(const QString& caption, Edit* edit)
    {
        auto* label = new CWidgetText(&widget);
        label->setText(caption);
        const int row = m_grid->rowCount();
        m_grid->addWidget(label, row, 0);
        m_grid->addWidget(edit, row, 1);
        return edit;
    }
    QImage render()
    {
        // Shown, so scroll areas lay out their bars as on screen.
        widget.show();
        widget.adjustSize();
        QCoreApplication::processEvents();
        return renderWidget(&widget, 1.0, currentPalette()->color(2));
    }

    QWidget widget;

private:
    QGridLayout* m_grid;
};

void focusLook(CAnimationWidget* animation)
{
    animation->setChecked(true, false);
}

} // namespace

TY_GALLERY_ENTRY("edits-line")
{
    QTemporaryDir dir;
    const QString icon = writeSearchIcon(dir);
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        Sheet sheet;
        sheet.add("placeholder", new CLinEdit(29))->setPlaceholderText(QStringLiteral("Type a name"));
        sheet.add("clear button", new CLinEdit(30))->setText(QStringLiteral("Holiday photos"));
        auto* search = sheet.add("icon, separator", new CLinEdit(31));
        search->setIcon(icon);
        search->setIconMargins(6, 0, 6, 0);
        search->setSeparatorColor(currentPalette()->colorSet(5).normal);
        search->setPlaceholderText(QStringLiteral("Search"));
        sheet.add("password", new CLinEdit(32))->setText(QStringLiteral("secret"));
        auto* focused = sheet.add("focused", new CLinEdit(30));
        focused->setText(QStringLiteral("Focused edit"));
        focusLook(focused->animation());
        auto* disabled = sheet.add("disabled", new CLinEdit(29));
        disabled->setText(QStringLiteral("Disabled edit"));
        disabled->setEnabled(false);
        disabled->animation()->setDisabled(true, false);
        auto* fit = sheet.add("fit to text", new CLinEdit(29));
        fit->setFitToText(true);
        fit->setPlaceholderText(QStringLiteral("As wide as this placeholder"));
        fit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        page.add(sheet.render(), QString(), dark);
    }
}

TY_GALLERY_ENTRY("edits-text")
{
    const QString caption = QStringLiteral("Summer by the sea: a caption long enough to wrap over a few lines "
                                           "of the growing edit.");
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        Sheet sheet;
        sheet.add("growing, one line", new CTextEdit(35, nullptr))->setPlainText(QStringLiteral("Caption"));
        sheet.add("growing, wrapped", new CTextEdit(35, nullptr))->setPlainText(caption);
        sheet.add("placeholder", new CTextEdit(35, nullptr))->setPlaceholderText(QStringLiteral("Slide caption"));
        auto* focused = sheet.add("focused", new CTextEdit(35, nullptr));
        focused->setPlainText(QStringLiteral("Focused edit"));
        focusLook(focused->animation());
        auto* disabled = sheet.add("disabled", new CTextEdit(35, nullptr));
        disabled->setPlainText(QStringLiteral("Disabled edit"));
        disabled->setEnabled(false);
        disabled->animation()->setDisabled(true, false);
        auto* scrolled = sheet.add("fixed, scrolling", new CTextEdit(34, nullptr));
        scrolled->setPlainText(caption.repeated(4));
        scrolled->setFixedHeight(64);
        page.add(sheet.render(), QString(), dark);
    }
}

TY_GALLERY_ENTRY("edits-spin")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        Sheet sheet;
        auto* middle = sheet.add("integer", new CSpinBox(36));
        middle->setRange(1, 99);
        middle->setValue(12);
        auto* top = sheet.add("at maximum", new CSpinBox(36));
        top->setRange(1, 99);
        top->setValue(99);
        auto* bottom = sheet.add("real, at minimum", new CDoubleSpin(36));
        bottom->setRange(0.5, 300.0);
        bottom->setDecimals(1);
        bottom->setSingleStep(0.5);
        bottom->setValue(0.5);
        auto* focused = sheet.add("focused", new CDoubleSpin(36));
        focused->setRange(0.5, 300.0);
        focused->setValue(4.5);
        focusLook(focused->animation());
        auto* disabled = sheet.add("disabled", new CSpinBox(36));
        disabled->setValue(3);
        disabled->setEnabled(false);
        disabled->animation()->setDisabled(true, false);
        auto* other = sheet.add("kind 30: box only", new CSpinBox(30));
        other->setValue(7);
        page.add(sheet.render(), QString(), dark);
    }
}
