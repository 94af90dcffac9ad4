#include "uilib/style/CLayoutManager.h"

#include "uilib/style/CCustomLayout.h"
#include "uilib/style/GlobLayout.h"

#include <QBoxLayout>

CLayoutManager::CLayoutManager(QObject* parent)
    : QObject(parent)
{
}

CLayoutManager::~CLayoutManager()
{
    // Parked layouts die as children; the current one belongs to its box layout.
    for (const QPointer<QLayout>& layout : qAsConst(m_layouts)) {
        if (layout && !layout->parent())
            delete layout;
    }
}

void CLayoutManager::addLayout(int id, QLayout* layout)
{
    m_layouts.insert(id, layout);
}

QLayout* CLayoutManager::currentLayout() const
{
    return m_layouts.value(m_currentId);
}

int CLayoutManager::currentLayoutId() const
{
    return m_currentId;
}

void CLayoutManager::setCurrentLayoutId(int id)
{
    if (id == m_currentId || !m_layouts.contains(id))
        return;
    const int oldId = m_currentId;
    emit currentLayoutIdAboutToChange(id, oldId);
    if (oldId == -1) {
        m_currentId = id;
        for (auto it = m_layouts.cbegin(); it != m_layouts.cend(); ++it) {
            if (it.key() != id && it.value())
                it.value()->setParent(this);
        }
    } else {
        QLayout* from = currentLayout();
        m_currentId = id;
        switchLayouts(from, currentLayout());
    }
    emit currentLayoutIdChanged(id, oldId);
}

void CLayoutManager::switchLayouts(QLayout* from, QLayout* to)
{
    QList<QLayoutItem*> items;
    QBoxLayout* box = nullptr;
    int position = -1;
    if (from) {
        for (int i = from->count(); i > 0; --i)
            items.append(from->takeAt(0));
        box = qobject_cast<QBoxLayout*>(from->parent());
        if (box) {
            position = box->indexOf(from);
            box->removeItem(from);
        }
        from->setParent(this);
    }
    if (!to)
        return;
    to->setParent(nullptr);
    if (box)
        box->insertLayout(position, to, 0);
    for (QLayoutItem* item : qAsConst(items))
        to->addItem(item);
}

void CLayoutManager::insertWidget(int position, QWidget* widget)
{
    insertLayoutWidget(currentLayout(), position, widget);
}

void CLayoutManager::insertItem(int position, QLayoutItem* item)
{
    insertLayoutItem(currentLayout(), position, item);
}

void CLayoutManager::moveItems(int first, int last, int to)
{
    QLayout* layout = currentLayout();
    // Items taken out of a layout that cannot take them back would be lost.
    const bool insertable = qobject_cast<QBoxLayout*>(layout) || qobject_cast<CCustomLayout*>(layout);
    if (first < 0 || !insertable)
        return;
    QList<QLayoutItem*> taken;
    for (int i = last; i >= first; --i) {
        if (QLayoutItem* item = layout->takeAt(i))
            taken.prepend(item);
    }
    if (first < to)
        to -= taken.size();
    for (QLayoutItem* item : qAsConst(taken))
        insertItem(to++, item);
}
