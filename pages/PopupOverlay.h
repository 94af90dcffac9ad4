#pragma once

#include "uilib/controls/CWidgetTextIcon.h"

class QTimer;

// A text badge over its parent at an alignment and margins: a text fades it in, and it fades out
// a while after the last text, or hides at once with its parent.
class PopupOverlay : public CWidgetTextIcon
{
public:
    PopupOverlay(int styleKind, QWidget* parent);
    ~PopupOverlay() override;

    // An empty text hides the overlay; any other shows it. Either restarts the time-out.
    void showText(const QString& text);
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const;
    // The margins inside the parent (the drawable's own margins keep their name setMargins).
    void setOverlayMargins(const QMargins& margins);
    QMargins overlayMargins() const;
    void setTimeout(int ms);
    QTimer* hideTimer() const;

    QSize sizeHint() const override;
    void geometryChanged() override;
    void lookChanged() override;

protected:
    bool event(QEvent* event) override;

private:
    class Private;
    void updatePlacement();

    Private* d;
};
