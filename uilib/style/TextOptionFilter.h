#pragma once

#include <QTextOption>

class QObject;
class QTextDocument;

namespace Glob {

// Adjusts the default text option of the document that its owner holds.
class ITextOptionCallback
{
public:
    virtual void adjustTextOption(QTextOption& option) = 0;
    virtual ~ITextOptionCallback() = default;
};

} // namespace Glob

// One filter per owner, replacing an earlier one; the entry goes when the owner is destroyed.
void registerTextOptionFilter(QObject* owner, Glob::ITextOptionCallback* callback);
void unregisterTextOptionFilter(QObject* owner);
// The option adjusted by the filter of the first owner, in key order, whose first
// text document below it is this document; unchanged when there is none.
QTextOption filteredTextOption(const QTextDocument* document, const QTextOption& option);
