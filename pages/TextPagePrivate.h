#pragma once

#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideText.h"
#include "pages/Labeled.h"
#include "pages/SelectColorDialog.h"
#include "pages/TextPage.h"

#include <QObject>
#include <QPointer>

class CTextEdit;
class CWidgetText;
class FontSizeSelector;
class FontsCombo;
class PositionSelector;
class TransitionSelector;

// The state and controls of a TextPage.
class TextPage::Private : public QObject
{
public:
    using Swatch = SelectColorDialog::ColorButton;

    explicit Private(TextPage* owner);

    void build();
    void connectControls();
    void loadEditors();
    void updateTitle();
    void updateSwatchTexts();
    void updateFitWarning();
    void applyEdits();
    void onTextChanged(const QString& text);
    void pickStartBackground();
    void pickColor(Labeled<Swatch>* field, int mode);
    void onAnimationChanged();
    void leave();
    void cancel();
    void save();
    bool hasEditor() const { return project && item; }

    TextPage* page;
    QPointer<ProjectFile> project;
    QPointer<ProjectItem> item;
    QPointer<ProjectItemSimple> sampleSlide;
    SlideText startingCaption;
    // The item's background index when editing began, for a slide with an indexed background.
    int startingBackgroundIndex = -1;
    Labeled<Swatch>* startBackground;
    Labeled<CTextEdit>* textEditor;
    CWidgetText* heading;
    CButton* replaceText;
    Labeled<FontsCombo>* font;
    Labeled<TransitionSelector>* animation;
    Labeled<Swatch>* textColor;
    Labeled<Swatch>* textBackground;
    Labeled<PositionSelector>* position;
    Labeled<FontSizeSelector>* fontSize;
    CWidgetText* fitWarning;
    CButton* backButton;
    CButton* cancelButton;
    CButton* saveButton;
};
