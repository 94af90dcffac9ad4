#pragma once

#include <QObject>

class CChadowLine;
class QWidget;

// Keeps shadow lines on the inside edges of a scroll area, each shown while there is content
// to scroll towards its edge.
class CShadowInner : public QObject
{
    Q_OBJECT
public:
    CShadowInner(QWidget* widget, QObject* parent);
    ~CShadowInner() override;

    void setEdgeShadows(int edges, int styleKind, int scrollEdges);
    void setEdgeShadows(Qt::Edges edges, int styleKind, int scrollEdges) { setEdgeShadows(int(edges), styleKind, scrollEdges); }
    CChadowLine* line(int edge) const;

private:
    class Private;
    Private* d;
};
