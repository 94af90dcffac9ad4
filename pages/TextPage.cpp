#include "pages/TextPage.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideBackground.h"
#include "model/SlideInterfaces.h"
#include "pages/EffectSelectors.h"
#include "pages/FontSizeSelector.h"
#include "pages/FontsCombo.h"
#include "pages/InterfaceText.h"
#include "pages/PositionSelector.h"
#include "pages/TextPagePrivate.h"
#include "app/Ui.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CWidgetText.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr int kMaxCaptionLength = 255;
const QSize kPreviewBounds(460, 277);

int pickWithDialog(QWidget* parent, int mode, const TextPage::ColorChoice& current, TextPage::ColorChoice* chosen)
{
    SelectColorDialog dialog(mode, parent);
    if (mode == 0)
        dialog.setSelectedColorIndex(current.index);
    else
        dialog.setSelectedColor(current.color);
    const int result = dialog.exec();
    chosen->index = dialog.selectedColorIndex();
    chosen->color = dialog.selectedColor();
    return result;
}

bool askWithMessage(QWidget*)
{
    Ui* ui = dynamic_cast<Ui*>(CSystemTools::instance());
    return ui && ui->confirmOverwriteAllSlidesText();
}

TextPage::ColorPicker& colorPicker()
{
    static TextPage::ColorPicker picker = pickWithDialog;
    return picker;
}

TextPage::OverwriteQuestion& overwriteQuestion()
{
    static TextPage::OverwriteQuestion question = askWithMessage;
    return question;
}

// At most the limit in UTF-16 units, never ending inside a surrogate pair.
QString cutCaption(const QString& text)
{
    QString cut = text.left(kMaxCaptionLength);
    if (!cut.isEmpty() && QChar(cut.back()).isHighSurrogate())
        cut.chop(1);
    return cut;
}

bool sameStyle(const SlideText& a, const SlideText& b)
{
    return a.font == b.font && a.text_color == b.text_color && a.bg_color == b.bg_color
           && a.position == b.position && a.transition == b.transition && a.font_size == b.font_size;
}

void takeStyle(SlideText& target, const SlideText& style)
{
    target.font = style.font;
    target.text_color = style.text_color;
    target.bg_color = style.bg_color;
    target.position = style.position;
    target.transition = style.transition;
    target.font_size = style.font_size;
    target.changed = false;
}

template <class T>
Labeled<T>* labeled(T* control, QWidget* parent)
{
    return new Labeled<T>(control, parent);
}

} // namespace

void TextPage::setColorPicker(ColorPicker picker)
{
    colorPicker() = picker ? std::move(picker) : ColorPicker(pickWithDialog);
}

void TextPage::setOverwriteQuestion(OverwriteQuestion question)
{
    overwriteQuestion() = question ? std::move(question) : OverwriteQuestion(askWithMessage);
}

TextPage::Private::Private(TextPage* owner)
    : QObject(owner)
    , page(owner)
    , sampleSlide(new ProjectItemSimple)
{
    startingCaption.transition = 27;
}

void TextPage::Private::build()
{
    const auto swatch = [this](int mode) {
        auto* field = labeled(new Swatch(mode, 18, QStringLiteral(":/empty-20.svg")), page);
        field->control()->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
        return field;
    };
    startBackground = swatch(0);
    textEditor = labeled(new CTextEdit, page);
    textEditor->control()->setFixedHeight(116);
    static_cast<QBoxLayout*>(textEditor->layout())->setSpacing(9);
    heading = new CWidgetText(1065, page);
    replaceText = new CButton(15, page);
    replaceText->setCheckable(true);
    font = labeled(new FontsCombo(18), page);
    animation = labeled(new TransitionSelector(18, 1), page);
    textColor = swatch(1);
    textBackground = swatch(2);
    position = labeled(new PositionSelector, page);
    static_cast<QBoxLayout*>(position->layout()->itemAt(0)->layout())->setContentsMargins(0, 0, 0, 8);
    fontSize = labeled(new FontSizeSelector, page);
    fontSize->control()->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    fitWarning = new CWidgetText(1064, page);
    fitWarning->setWordWrap(true);
    backButton = new CButton(1022, QStringLiteral(":/back.svg"), page);
    cancelButton = new CButton(1004, page);
    saveButton = new CButton(1015, page);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(16, 8, 16, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->addWidget(backButton, 0, 0, 1, 3, Qt::AlignLeft);
    grid->addItem(new QSpacerItem(0, 24, QSizePolicy::Minimum, QSizePolicy::Fixed), 1, 0);
    grid->addWidget(startBackground, 2, 0);
    grid->addItem(new QSpacerItem(0, 16, QSizePolicy::Minimum, QSizePolicy::Fixed), 3, 0);
    grid->addWidget(textEditor, 4, 0, 1, 3);
    grid->addWidget(replaceText, 4, 1, 1, 2, Qt::AlignRight | Qt::AlignTop);
    grid->addItem(new QSpacerItem(0, 16, QSizePolicy::Minimum, QSizePolicy::Fixed), 5, 0);
    grid->addWidget(heading, 6, 0, 1, 2);
    grid->addItem(new QSpacerItem(0, 11, QSizePolicy::Minimum, QSizePolicy::Fixed), 7, 0);
    grid->addWidget(font, 8, 0);
    grid->addWidget(animation, 8, 1);
    grid->addItem(new QSpacerItem(0, 12, QSizePolicy::Minimum, QSizePolicy::Fixed), 9, 0);
    grid->addWidget(textColor, 10, 0);
    grid->addWidget(textBackground, 10, 1);
    grid->addItem(new QSpacerItem(0, 11, QSizePolicy::Minimum, QSizePolicy::Expanding), 11, 0);
    grid->addWidget(fontSize, 12, 0);
    grid->addWidget(position, 12, 1, 5, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(fitWarning, 13, 0);
    grid->setRowStretch(14, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    buttons->addWidget(cancelButton);
    buttons->addWidget(saveButton);
    grid->addLayout(buttons, grid->rowCount(), 0, 1, -1);
}

void TextPage::Private::connectControls()
{
    connect(startBackground->control(), &CButton::clicked, this, &Private::pickStartBackground);
    connect(textColor->control(), &CButton::clicked, this, [this] { pickColor(textColor, 1); });
    connect(textBackground->control(), &CButton::clicked, this, [this] { pickColor(textBackground, 2); });
    connect(textEditor->control(), &CTextEdit::plainTextChanged, this, &Private::onTextChanged);
    connect(font->control(), &FontsCombo::familyChanged, this, &Private::applyEdits);
    connect(position->control(), &PositionSelector::positionChanged, this, &Private::applyEdits);
    connect(fontSize->control(), &FontSizeSelector::fontSizeChanged, this, &Private::applyEdits);
    connect(animation->control(), &TransitionSelector::transitionChanged, this, &Private::onAnimationChanged);
    connect(backButton, &CButton::clicked, this, &Private::leave);
    connect(cancelButton, &CButton::clicked, this, &Private::cancel);
    connect(saveButton, &CButton::clicked, this, &Private::save);
    connect(page, &CWidgetBase::showed, textEditor->control(), [this] { textEditor->control()->setFocus(); });
    connect(replaceText, &CButton::toggled, textEditor->control(), &QWidget::setEnabled);
}

void TextPage::Private::loadEditors()
{
    const bool allSlides = page->isEditingAllSlides();
    replaceText->setChecked(!allSlides);
    replaceText->setVisible(allSlides);
    textEditor->control()->setEnabled(replaceText->isChecked());
    updateTitle();
    if (!item)
        return;
    startingCaption = item->text();
    auto* background = dynamic_cast<IColorBackground*>(item.data());
    startingBackgroundIndex = background ? background->bgIndex() : -1;
    const bool title = dynamic_cast<IStarterItem*>(item.data()) != nullptr;
    startBackground->setVisible(title);
    if (title && background)
        startBackground->control()->setBackgroundIndex(background->bgIndex());

    const SlideText& caption = item->text();
    textEditor->control()->setTextSilently(caption.text);
    font->control()->setFamilySilently(caption.font);
    animation->control()->setTransitionSilently(TransitionType(caption.transition));
    textColor->control()->setColor(caption.text_color);
    textBackground->control()->setColor(caption.bg_color);
    position->control()->setPositionSilently(caption.position);
    {
        const QSignalBlocker blocker(fontSize->control());
        fontSize->control()->setFontSize(caption.font_size);
    }
    updateSwatchTexts();
    updateFitWarning();
}

void TextPage::Private::updateTitle()
{
    if (dynamic_cast<IStarterItem*>(item.data()))
        backButton->setText(interfaceText(122));
    else if (page->isEditingAllSlides())
        backButton->setText(interfaceText(123));
    else
        backButton->setText(interfaceText(124).arg(project ? project->itemNumberText(item) : QString()));
}

void TextPage::Private::updateSwatchTexts()
{
    for (Labeled<Swatch>* field : {startBackground, textColor, textBackground}) {
        Swatch* swatch = field->control();
        QColor colour = swatch->color();
        if (field == startBackground && swatch->backgroundIndex() >= 0)
            colour = QColor(backgroundColorName(swatch->backgroundIndex()));
        swatch->setText(colour.isValid() && colour.alpha() != 0 ? colour.name() : interfaceText(121));
    }
}

void TextPage::Private::updateFitWarning()
{
    bool shrunk = false;
    if (project && item)
        item->text().textRect(project->resolution.width(), project->resolution.height(), &shrunk);
    fitWarning->setText(shrunk ? interfaceText(120) : QString());
}

void TextPage::Private::applyEdits()
{
    if (!hasEditor())
        return;
    if (auto* title = dynamic_cast<ProjectItemFirst*>(item.data()))
        title->setBgIndex(startBackground->control()->backgroundIndex());
    SlideText caption = item->text();
    const QString text = textEditor->control()->toPlainText();
    caption.text = text.trimmed().isEmpty() ? QString() : text;
    caption.font = font->control()->family();
    caption.text_color = textColor->control()->color();
    caption.bg_color = textBackground->control()->color();
    caption.position = position->control()->position();
    caption.font_size = fontSize->control()->fontSize();
    item->setText(caption);
    updateFitWarning();
    if (page->isEditingAllSlides())
        return;

    const QSize size = project->resolution.size().scaled(kPreviewBounds, Qt::KeepAspectRatio);
    QImage picture;
    if (auto* photo = dynamic_cast<ProjectItemSimple*>(item.data()))
        picture = photo->motionFrame(size.width(), size.height(), project->scale_to_fit, project->blur_background, 0.0);
    else
        picture = item->renderImage(size.width(), size.height(), false, project->scale_to_fit,
                                    project->blur_background);
    item->drawText(picture);
    emit page->previewChanged(picture);
}

void TextPage::Private::onTextChanged(const QString& text)
{
    if (text.size() > kMaxCaptionLength) {
        textEditor->control()->setPlainText(cutCaption(text));
        return;
    }
    applyEdits();
}

void TextPage::Private::pickStartBackground()
{
    Swatch* swatch = startBackground->control();
    ColorChoice chosen;
    if (colorPicker()(page, 0, {swatch->backgroundIndex(), QColor()}, &chosen) != 1)
        return;
    swatch->setBackgroundIndex(chosen.index);
    textColor->control()->setColor(QColor(backgroundTextColorName(chosen.index)));
    updateSwatchTexts();
    applyEdits();
}

void TextPage::Private::pickColor(Labeled<Swatch>* field, int mode)
{
    Swatch* swatch = field->control();
    ColorChoice chosen;
    if (colorPicker()(page, mode, {-1, swatch->color()}, &chosen) != 1)
        return;
    swatch->setColor(chosen.color);
    updateSwatchTexts();
    applyEdits();
}

void TextPage::Private::onAnimationChanged()
{
    if (!hasEditor())
        return;
    SlideText caption = item->text();
    caption.transition = animation->control()->transition();
    item->setText(caption);
    if (!page->isEditingAllSlides())
        emit page->transitionChanged(project->indexOf(item), project->itemNumberText(item), true);
}

void TextPage::Private::leave()
{
    const bool title = dynamic_cast<IStarterItem*>(item.data()) != nullptr;
    if (item && !title && !sameStyle(item->text(), startingCaption))
        return save();
    page->hideAnimated();
}

void TextPage::Private::cancel()
{
    if (item) {
        if (auto* background = dynamic_cast<IColorBackground*>(item.data()))
            background->setBgIndex(startingBackgroundIndex);
        item->setText(startingCaption);
    }
    page->hideAnimated();
}

void TextPage::Private::save()
{
    if (!hasEditor() || dynamic_cast<IStarterItem*>(item.data()))
        return page->hideAnimated();
    const bool allSlides = page->isEditingAllSlides();
    if (allSlides && !overwriteQuestion()(page))
        return;
    SlideText caption = item->text();
    caption.changed = true;
    item->setText(caption);
    const bool replaceTexts = allSlides && replaceText->isChecked();
    for (int i = 1; i < project->itemCount(); ++i) {
        ProjectItem* slide = project->item(i);
        if (slide == item || (!allSlides && slide->text().changed))
            continue;
        SlideText styled = slide->text();
        takeStyle(styled, caption);
        if (replaceTexts)
            styled.text = caption.text;
        slide->setText(styled);
    }
    SlideText sample = caption;
    sample.changed = false;
    sampleSlide->setText(sample);
    project->setDefaultText(caption);
    page->hideAnimated();
}

TextPage::TextPage(QWidget* parent)
    : CPanel(1056, parent)
    , d(new Private(this))
{
    setFocusPolicy(Qt::ClickFocus);
    d->item = d->sampleSlide.data();
    d->build();
    d->connectControls();
    updateTexts();
    hide();
}

TextPage::~TextPage()
{
    delete d->sampleSlide;
}

void TextPage::setProject(ProjectFile* project)
{
    d->project = project;
    if (project) {
        SlideText caption = project->defaultText;
        caption.changed = false;
        d->sampleSlide->setText(caption);
    }
    d->item = d->sampleSlide.data();
    d->loadEditors();
}

void TextPage::setItem(ProjectItem* item)
{
    d->item = item ? item : d->sampleSlide.data();
    d->loadEditors();
}

bool TextPage::isEditingAllSlides() const
{
    return d->item == d->sampleSlide;
}

ProjectItem* TextPage::item() const
{
    return d->item;
}

void TextPage::updateTexts()
{
    d->updateSwatchTexts();
    d->updateTitle();
    d->startBackground->caption()->setText(interfaceText(221).replace(QLatin1Char(' '), QStringLiteral("<br>")));
    d->textEditor->caption()->setText(interfaceText(222));
    d->textEditor->control()->setPlaceholderText(interfaceText(223));
    d->heading->setText(interfaceText(224));
    d->font->caption()->setText(interfaceText(225));
    d->animation->caption()->setText(interfaceText(229));
    d->animation->control()->updateTexts();
    d->textColor->caption()->setText(interfaceText(226));
    d->textBackground->caption()->setText(interfaceText(227));
    d->position->caption()->setText(interfaceText(230));
    d->fontSize->caption()->setText(interfaceText(228));
    d->cancelButton->setText(interfaceText(89));
    d->saveButton->setText(interfaceText(90));
    d->replaceText->setText(interfaceText(125));
}

void TextPage::keyPressEvent(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Cancel))
        return CPanel::keyPressEvent(event);
    event->accept();
    d->leave();
}
