#pragma once

#include "uilib/style/CDrawable.h"

#include <QLabel>

#include <memory>

// A label in the palette's font and colours that elides plain text, fades when disabled and
// can wrap its text at any character.
class CWidgetText : public QLabel, public CDrawable
{
    Q_OBJECT
public:
    CWidgetText(int styleKind, QWidget* parent = nullptr);
    explicit CWidgetText(QWidget* parent = nullptr);
    ~CWidgetText() override;

    // Emits textChanged when the text differs. With QLabel::setText replaced (QtDetours.h) it
    // also does when set through QLabel.
    void setText(const QString& text);
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const;
    bool isElided() const;
    // Long words break at any character, in plain and rich text.
    void setWrapAnywhere(bool on);
    bool wrapAnywhere() const;

    void applyStyle() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

signals:
    void textChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Private;
    bool isRichText() const;
    bool isPlainWrapAnywhere() const;
    // QLabel sets its document's option when it lays out; the wish is applied again after it.
    void applyRichWrapAnywhere() const;
    void updateElidedText(int width);
    int flags() const;
    void paintText(const QString& text, int flags);

    std::unique_ptr<Private> d;
};
