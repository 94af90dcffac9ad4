#pragma once

#include <QObject>

#include <memory>

class CDrawable;
class Cpalette;

// The style holder: the registered palettes, the current one, and every live drawable,
// which a palette switch restyles.
class CStyle : public QObject
{
    Q_OBJECT
public:
    explicit CStyle(QObject* parent);
    ~CStyle() override;

    Cpalette* currentPalette();
    void registerPalette(Cpalette* palette);
    void registerDrawable(CDrawable* drawable);
    void unregisterDrawable(CDrawable* drawable);
    bool setCurrentStyle(const QString& name);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The current palette of the style holder; a base palette where the application has none.
Cpalette* currentPalette();
