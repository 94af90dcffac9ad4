#pragma once

#include <QWidget>

// A plain widget that reports its visibility, enabled state, geometry and focus as signals.
class CWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit CWidgetBase(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~CWidgetBase() override;

signals:
    void showed();
    void hided();
    void visibilityChanged(bool visible);
    void showedToParent();
    void hidedToParent();
    void visibilityToParentChanged(bool visibleToParent);
    void enabledChanged(bool enabled);
    void moved(QPoint pos);
    void resized(QSize size);
    void geometryChanged(QRect geometry);
    void focused(Qt::FocusReason reason);
    void focusLost();

protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
