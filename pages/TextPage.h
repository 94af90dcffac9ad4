#pragma once

#include "uilib/controls/CPanel.h"

#include <QColor>
#include <QImage>

#include <functional>

class ProjectFile;
class ProjectItem;

// The panel that edits the caption of one slide, the background of the title slide, or the
// caption style of all slides. Edits go into the slide at once; save spreads the style to other
// slides, cancel restores the caption as it was when editing began.
class TextPage : public CPanel
{
    Q_OBJECT
public:
    class Private;

    // Opens the colour picker in that mode with the current choice (a background index in mode
    // 0, a colour otherwise) and returns its result; on 1 *chosen holds the new choice.
    struct ColorChoice
    {
        int index = -1;
        QColor color;
    };
    using ColorPicker = std::function<int(QWidget* parent, int mode, const ColorChoice& current, ColorChoice* chosen)>;
    // Asks whether the captions of all slides may be overwritten.
    using OverwriteQuestion = std::function<bool(QWidget* parent)>;
    // Replaceable so that tests run no modal loop; an empty function restores the dialog.
    static void setColorPicker(ColorPicker picker);
    static void setOverwriteQuestion(OverwriteQuestion question);

    explicit TextPage(QWidget* parent = nullptr);
    ~TextPage() override;

    void setProject(ProjectFile* project);
    // Null edits all slides.
    void setItem(ProjectItem* item);
    bool isEditingAllSlides() const;
    ProjectItem* item() const;
    void updateTexts();

    Private* d_func() const { return d; }

signals:
    void previewChanged(QImage image);
    void transitionChanged(int itemIndex, QString slideName, bool onlyForText);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Private* d;
};
