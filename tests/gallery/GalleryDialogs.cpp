#include "Gallery.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CDialog.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QApplication>
#include <QBoxLayout>
#include <QPainter>

namespace {

void settle()
{
    settleGallery();
}

QImage composite(const QList<QWidget*>& windows)
{
    return compositeWindows(windows);
}

// The look a caller gives its dialog: room around the content and between the buttons.
void spaceOut(CDialog* dialog)
{
    if (QLayout* content = dialog->contentPanel()->layout())
        content->setContentsMargins(16, 16, 16, 8);
    dialog->buttonLayout()->setContentsMargins(16, 8, 16, 16);
    dialog->buttonLayout()->setSpacing(8);
}

CButton* textButton(const QString& text)
{
    auto* button = new CButton(11);
    button->setText(text);
    return button;
}

CDialogMessage* makeMessage(const QString& text)
{
    auto* message = new CDialogMessage;
    message->setTitle(QStringLiteral("Message"));
    message->setIcon(QStringLiteral(":/uilib/titlebar-maximize.svg"));
    message->setSpacing(12);
    message->setText(text);
    message->addButton(1, textButton(QStringLiteral("OK")), true);
    message->addButton(0, textButton(QStringLiteral("Cancel")));
    spaceOut(message);
    message->textLabel()->setMinimumWidth(240);
    message->textLabel()->setMaximumWidth(420);
    return message;
}

QImage shownMessage(CDialogMessage* message)
{
    message->showModeless(CWindow::CursorScreen);
    const QImage image = composite({message});
    message->close();
    delete message;
    return image;
}

// Icon above the text.
class StackedPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QString name() const override { return QStringLiteral("GalleryStacked"); }
    int metric(int id) const override { return id == 6 ? 0 : Cpalette::metric(id); }
};

void useStackedPalette()
{
    CStyle* style = CSystemTools::instance()->style();
    static QPointer<Cpalette> palette;
    if (!palette) {
        palette = new StackedPalette(style);
        style->registerPalette(palette);
    }
    style->setCurrentStyle(palette->name());
}

// A host window with a control at its top-left and room below for its popup.
struct Host
{
    Host()
    {
        window.setGeometry(100, 100, 320, 60);
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(16, 12, 16, 12);
        layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    template <class Control>
    Control* add(Control* control)
    {
        window.layout()->addWidget(control);
        window.show();
        settle();
        return control;
    }
    QImage shot(bool open, QWidget* popup)
    {
        QList<QWidget*> windows{&window};
        if (open)
            windows << popup;
        return composite(windows);
    }
    QWidget window;
};

CComboBase* makeCombo(int widthMode, const QString& suffix)
{
    auto* combo = new CComboBase(18, QSizePolicy::Fixed, widthMode);
    combo->setSuffix(suffix);
    combo->setItems(18, {}, 0);
    combo->setItems(combo->itemStyleKind(), {640, 1280, 1920, 3840}, 1);
    combo->setItemText(3840, QStringLiteral("3840 (4K)"));
    combo->setCurrentData(1920);
    if (widthMode != 2)
        combo->setFixedWidth(140);
    return combo;
}

} // namespace

TY_GALLERY_ENTRY("dialog")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        CDialog dialog;
        dialog.setTitle(QStringLiteral("Dialog"));
        auto* content = new QVBoxLayout(dialog.contentPanel());
        auto* text = new CWidgetText(9);
        text->setText(QStringLiteral("A dialog with its own content and a default button."));
        content->addWidget(text);
        dialog.addButton(3, textButton(QStringLiteral("Help")), false, true);
        dialog.addButton(1, textButton(QStringLiteral("Apply")), true);
        dialog.addButton(0, textButton(QStringLiteral("Close")));
        spaceOut(&dialog);
        dialog.showModeless(CWindow::CursorScreen);
        page.add(composite({&dialog}), "default-button", dark);
        dialog.close();
    }
}

TY_GALLERY_ENTRY("dialog-message")
{
    const QString text = QStringLiteral("The project was changed. Save the changes before closing it?");
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        page.add(shownMessage(makeMessage(text)), "beside", dark);
        CDialogMessage* input = makeMessage(QStringLiteral("Name of the new project:"));
        auto* edit = new CLinEdit(30);
        input->addExtraWidget(edit);
        page.add(shownMessage(input), "line-edit-empty", dark);
        input = makeMessage(QStringLiteral("Name of the new project:"));
        edit = new CLinEdit(30);
        edit->setText(QStringLiteral("Summer holiday"));
        input->addExtraWidget(edit);
        page.add(shownMessage(input), "line-edit", dark);
        page.add(shownMessage(makeMessage("The file could not be read: " + QString(130, QLatin1Char('x'))
                                          + ".jpg")),
                 "long-word", dark);
    }
    useStackedPalette();
    page.add(shownMessage(makeMessage(text)), "stacked");
    page.usePalette(false);
}

TY_GALLERY_ENTRY("menu")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        CWindowMenu menu;
        menu.move(100, 100);
        menu.addActionItem(QStringLiteral(":/uilib/titlebar-maximize.svg"), QStringLiteral("Open"), nullptr);
        menu.addActionItem(QString(), QStringLiteral("Save as"), nullptr);
        auto* sub = new CButtonMenuItem(17, 2, 4, Qt::AlignTop);
        sub->setText(QStringLiteral("Recent"));
        for (const char* name : {"holiday.json", "birthday.json"})
            sub->popup()->addActionItem(QString(), QString::fromLatin1(name), nullptr);
        menu.addWidget(sub);
        menu.addActionItem(QStringLiteral(":/uilib/titlebar-close.svg"), QStringLiteral("Close"), nullptr);
        QCursor::setPos(100, 100);
        menu.showAtCursor();
        page.add(composite({&menu}), "items", dark);
        sub->showPopup();
        page.add(composite({&menu, sub->popup()}), "sub-menu", dark);
        closeAllPopups();

        CWindowMenu scrolled;
        scrolled.setScrollable(2, -1);
        QList<CButton*> items;
        for (int i = 1; i <= 30; ++i)
            items << scrolled.addActionItem(QString(), QStringLiteral("Item %1").arg(i), nullptr);
        scrolled.scrollArea()->setFixedHeight(180);
        scrolled.ensureItemVisible(items[20]);
        scrolled.showAtCursor();
        page.add(composite({&scrolled}), "scrolled", dark);
        closeAllPopups();
    }
}

TY_GALLERY_ENTRY("combo")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        const struct
        {
            const char* state;
            int widthMode;
            const char* suffix;
        } rows[] = {{"plain", 0, ""}, {"suffix", 0, " px"}, {"width-mode-2", 2, ""}};
        for (const auto& row : rows) {
            Host host;
            CComboBase* combo = host.add(makeCombo(row.widthMode, QString::fromLatin1(row.suffix)));
            page.add(host.shot(false, combo->popup()), QStringLiteral("%1-closed").arg(row.state), dark);
            combo->showPopup();
            page.add(host.shot(true, combo->popup()), QStringLiteral("%1-open").arg(row.state), dark);
            closeAllPopups();
        }
    }
}
