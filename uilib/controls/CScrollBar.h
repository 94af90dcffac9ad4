#pragma once

#include "uilib/style/CDrawable.h"

#include <QPointer>
#include <QScrollBar>

class QAbstractScrollArea;

// Stands in for a scroll area's own bar of one orientation: mirrors its range and value, drives
// it, and turns the area's bar off. Hide mode 0 always shows the bar, 1 hides it while nothing
// can be scrolled, 2 keeps its place but paints nothing then.
class CScrollBar : public QScrollBar, public CDrawable
{
    Q_OBJECT
public:
    CScrollBar(int styleKind, QAbstractScrollArea* area, Qt::Orientation orientation, int hideMode = 0,
               QWidget* parent = nullptr, bool deferStyle = false);
    ~CScrollBar() override;

    void applyStyle() override;
    bool isScrollAvailable() const;
    int hideMode() const { return m_hideMode; }

signals:
    void scrollAvailableChanged(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void attachTo(QAbstractScrollArea* area);
    void copyFromSource();
    void onRangeChanged(int min, int max);

    QPointer<QScrollBar> m_source;
    int m_hideMode;
};
