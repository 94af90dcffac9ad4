#pragma once

#include "uilib/style/CDrawable.h"
#include "uilib/style/CEventFocus1.h"
#include "uilib/style/CPanelDraw.h"

#include <QPlainTextEdit>

class CAnimationWidget;

// The multi-line plain-text edit of the library: a QPlainTextEdit in a palette panel, with its
// scroll bars inside the panel's border; it may grow with its document (height for width).
class CTextEdit : public QPlainTextEdit, public CPanelDraw, public CDrawable, public CEventFocus1
{
    Q_OBJECT
public:
    CTextEdit(int styleKind, QWidget* parent);
    explicit CTextEdit(QWidget* parent = nullptr);
    ~CTextEdit() override;

    using QWidget::rect;
    using QWidget::resize;

    void applyStyle() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override;
    // The document's 4-pixel margin puts the text at the padding.
    void setPadding(const QMargins& padding) override;

    // On: the height follows the wrapped document for the width.
    void setFitToDocument(bool grow);
    bool fitToDocument() const { return m_grow; }
    // Sets the text only when it differs from the current one.
    virtual void setTextIfChanged(const QString& text);
    // As setTextIfChanged, with the edit's signals blocked.
    virtual void setTextSilently(const QString& text);
    CAnimationWidget* animation() const { return m_animation; }

signals:
    void plainTextChanged(QString plainText);
    void focused(Qt::FocusReason reason);
    void focusLost();

protected:
    bool event(QEvent* event) override;

private:
    void layoutScrollBars();

    bool m_grow = false;
    CAnimationWidget* m_animation;
    QMetaObject::Connection m_documentSize;
};
