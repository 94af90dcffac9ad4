#pragma once

#include <QString>

// Facets of slides, reached from a ProjectItem by dynamic_cast.

// The title slide, which can be hidden.
class IStarterItem
{
public:
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;

protected:
    ~IStarterItem() = default;
};

// A slide drawn from a picture file.
class IFileSourceItem
{
public:
    virtual QString fileName() const = 0;
    virtual bool fileExists() const = 0;

protected:
    ~IFileSourceItem() = default;
};

// A slide painted with one of the indexed backgrounds.
class IColorBackground
{
public:
    virtual int bgIndex() const = 0;
    virtual void setBgIndex(int index) = 0;

protected:
    ~IColorBackground() = default;
};
