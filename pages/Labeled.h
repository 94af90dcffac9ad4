#pragma once

#include "uilib/controls/CWidgetText.h"

#include <QBoxLayout>
#include <QWidget>

// A control with a caption above it. The owner sets the caption's text.
template <class T>
class Labeled : public QWidget
{
public:
    explicit Labeled(T* control, QWidget* parent = nullptr)
        : QWidget(parent)
        , m_captionRow(new QHBoxLayout)
        , m_column(new QVBoxLayout(this))
        , m_caption(new CWidgetText(1062))
    {
        m_captionRow->setContentsMargins(0, 0, 0, 0);
        m_column->setContentsMargins(0, 0, 0, 0);
        m_column->setSpacing(5);
        m_caption->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
        m_captionRow->addWidget(m_caption);
        m_column->addLayout(m_captionRow);
        if (control) {
            m_control = control;
            m_column->addWidget(control);
        }
    }
    ~Labeled() override = default;

    CWidgetText* caption() const { return m_caption; }
    T* control() const { return m_control; }

private:
    QHBoxLayout* m_captionRow;
    QVBoxLayout* m_column;
    CWidgetText* m_caption;
    T* m_control = nullptr;
};
