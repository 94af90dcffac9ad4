#pragma once

#include <QLayout>
#include <QList>
#include <QStyle>

#include <memory>

// A flow layout: items stand left to right and wrap into a new line when the next
// one would pass the right edge; the first item of a line never wraps. A spacing of
// -1 comes from the parent widget's style or the parent layout.
class CCustomLayout : public QLayout
{
    Q_OBJECT

public:
    explicit CCustomLayout(QWidget* parent = nullptr, const QMargins& margins = QMargins(), int hSpacing = -1,
                           int vSpacing = -1);
    ~CCustomLayout() override;

    int horizontalSpacing() const;
    int verticalSpacing() const;
    void setHorizontalSpacing(int spacing);
    void setVerticalSpacing(int spacing);

    // A negative position appends.
    void insertItem(int position, QLayoutItem* item);
    void insertWidget(int position, QWidget* widget);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    int minimumHeightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    void invalidate() override;

protected:
    // Places the items in rect (or only measures, with testOnly) and returns the height used.
    virtual int doLayout(const QRect& rect, const QList<QLayoutItem*>& items, bool testOnly) const;

private:
    int spacingFromParent(QStyle::PixelMetric metric) const;

    struct Private;
    std::unique_ptr<Private> d;
};
