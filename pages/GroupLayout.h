#pragma once

#include "uilib/controls/CWidgetText.h"

#include <QBoxLayout>
#include <QGridLayout>

#include <type_traits>

// A caption with an inner layout of type L (QHBoxLayout or QGridLayout) below it. The owner
// sets the caption's text.
template <class L>
class GroupLayout : public QVBoxLayout
{
public:
    // A grid takes both spacings; a box takes the first and ignores the second.
    GroupLayout(int spacing, int verticalSpacing, QWidget* parent)
        : m_caption(new CWidgetText(1065, parent))
        , m_inner(new L)
    {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(13);
        m_inner->setContentsMargins(0, 0, 0, 0);
        setInnerSpacing(spacing, verticalSpacing);
        addWidget(m_caption);
        addLayout(m_inner);
    }
    ~GroupLayout() override = default;

    CWidgetText* caption() const { return m_caption; }
    L* inner() const { return m_inner; }

private:
    void setInnerSpacing(int spacing, int verticalSpacing)
    {
        if constexpr (std::is_same_v<L, QGridLayout>) {
            m_inner->setHorizontalSpacing(spacing);
            m_inner->setVerticalSpacing(verticalSpacing);
        } else {
            m_inner->setSpacing(spacing);
        }
    }

    CWidgetText* m_caption;
    L* m_inner;
};
