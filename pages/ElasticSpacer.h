#pragma once

#include <QLayout>
#include <QObject>
#include <QPointer>
#include <QSpacerItem>

#include <vector>

// A spacer whose laid-out extent is copied into slave spacers in other layouts, so that
// columns of different layouts stay aligned.
class ElasticSpacer : public QSpacerItem
{
public:
    // A fixed spacer in another layout that copies its master; that layout owns it.
    class SlaveSpacer : public QObject, public QSpacerItem
    {
    public:
        SlaveSpacer(const QSize& size, QLayout* layout);
        ~SlaveSpacer() override;

        QLayout* hostLayout() const { return m_layout; }

    private:
        QPointer<QLayout> m_layout;
    };

    // Preferred `size` along the orientation, shrinking to `minimum`; 0 across it.
    ElasticSpacer(int minimum, int size, Qt::Orientation orientation);
    ~ElasticSpacer() override;

    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

    // A slave of the current extent, for insertion into `layout`.
    QSpacerItem* createSlave(QLayout* layout);

private:
    QSize alongOrientation(const QSize& size) const;

    int m_minimum;
    Qt::Orientation m_orientation;
    std::vector<QPointer<SlaveSpacer>> m_slaves;
};
