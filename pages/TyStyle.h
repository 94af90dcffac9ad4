#pragma once

#include "pages/Style.h"

// The palette the program installs: the dark look with a teal accent and heavier button text.
class TyStyle : public Style
{
public:
    explicit TyStyle(QObject* parent);

    QString name() const override;
    QString baseName() const override;
    QString description() const override;
    bool isDark() const override;
    int metric(int id) const override;
    QColor color(int role) const override;
    void styleButton(CButtonDraw* button, int kind, const QString& icon) override;
    void styleSlider(CSlider* slider, int kind) override;
    void styleAnimationIcon(CIcon* icon) override;

private:
    // Kinds 1008 to 1039 after the look of Style.
    void refineButton(CButtonDraw* button, int kind);
};
