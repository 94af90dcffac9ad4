#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>

class QLayout;
class QLayoutItem;
class QWidget;

// Keeps the row layouts of a list under integer ids and moves the rows from one to
// another. Layouts not in use are parked as children of the manager.
class CLayoutManager : public QObject
{
    Q_OBJECT

public:
    explicit CLayoutManager(QObject* parent = nullptr);
    ~CLayoutManager() override;

    // Replaces an earlier layout of that id.
    void addLayout(int id, QLayout* layout);
    QLayout* currentLayout() const;
    int currentLayoutId() const;
    void setCurrentLayoutId(int id);

    void insertWidget(int position, QWidget* widget);
    void insertItem(int position, QLayoutItem* item);
    // Moves the items first..last so that they stand before the item at `to`,
    // counted before the move.
    void moveItems(int first, int last, int to);

signals:
    void currentLayoutIdAboutToChange(int newId, int oldId);
    void currentLayoutIdChanged(int newId, int oldId);

private:
    void switchLayouts(QLayout* from, QLayout* to);

    int m_currentId = -1;
    QMap<int, QPointer<QLayout>> m_layouts;
};
