#pragma once

#include "uilib/controls/CDialog.h"

#include <QColor>

class CWidgetText;
class QHBoxLayout;

// The about box: what the program does, the third-party components it carries with their
// licences, a link to the product's site and a close button. The title shows the version in force.
class AboutDialog2 : public CDialog
{
    Q_OBJECT
public:
    explicit AboutDialog2(QWidget* parent = nullptr);
    ~AboutDialog2() override;
};

// A wrapping label in Tahoma at that pixel size and weight.
CWidgetText* makeAboutLabel(int pixelSize, int weight, const QColor& color, const QString& text);
// "•" and the text beside it, indented by 8; a secondary text follows in its own colour.
QHBoxLayout* makeBulletRow(int pixelSize, int weight, const QColor& color, const QString& text,
                           const QColor& secondaryColor = QColor(), const QString& secondaryText = QString());
