#include "uilib/style/TextOptionFilter.h"

#include <QObject>
#include <QTextDocument>

#include <functional>
#include <map>

namespace {

struct Filter
{
    Glob::ITextOptionCallback* callback;
    QMetaObject::Connection ownerDestroyed;
};

// Touched on the GUI thread only.
std::map<QObject*, Filter>& filters()
{
    static std::map<QObject*, Filter> map;
    return map;
}

} // namespace

void registerTextOptionFilter(QObject* owner, Glob::ITextOptionCallback* callback)
{
    if (!owner)
        return;
    if (!callback) {
        unregisterTextOptionFilter(owner);
        return;
    }
    auto existing = filters().find(owner);
    if (existing != filters().end()) {
        existing->second.callback = callback;
        return;
    }
    const QMetaObject::Connection connection =
        QObject::connect(owner, &QObject::destroyed, [owner] { filters().erase(owner); });
    filters().emplace(owner, Filter{callback, connection});
}

void unregisterTextOptionFilter(QObject* owner)
{
    auto existing = filters().find(owner);
    if (existing == filters().end())
        return;
    QObject::disconnect(existing->second.ownerDestroyed);
    filters().erase(existing);
}

QTextOption filteredTextOption(const QTextDocument* document, const QTextOption& option)
{
    // Only an ancestor of the document can hold it: walk up rather than over every owner.
    const Filter* first = nullptr;
    QObject* firstOwner = nullptr;
    const std::less<QObject*> keyOrder;
    for (QObject* owner = document ? document->parent() : nullptr; owner; owner = owner->parent()) {
        const auto entry = filters().find(owner);
        if (entry == filters().end() || (firstOwner && keyOrder(firstOwner, owner)))
            continue;
        if (owner->findChild<QTextDocument*>() != document)
            continue;
        first = &entry->second;
        firstOwner = owner;
    }
    if (!first)
        return option;
    QTextOption adjusted = option;
    first->callback->adjustTextOption(adjusted);
    return adjusted;
}
