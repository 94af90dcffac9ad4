// The forms of the library's controls that the application and its pages call. The checks are
// made by the compiler: a changed signature stops the build here instead of in a caller.

#include <QtTest>

#include "uilib/controls/CButton.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CSlider.h"

#include <type_traits>

namespace {

template <class Form>
constexpr bool hasForm(Form)
{
    return true;
}

} // namespace

class TestCallerForms : public QObject
{
    Q_OBJECT
private slots:
    void slider();
    void progressBar();
};

void TestCallerForms::slider()
{
    static_assert(std::is_constructible_v<CSlider, int, Qt::Orientation, QWidget*>);
    static_assert(std::is_base_of_v<QAbstractSlider, CSlider>);
    static_assert(hasForm<CButton* (CSlider::*)() const>(&CSlider::handleButton));
    static_assert(hasForm<bool (CSlider::*)() const>(&CSlider::isAnimated));
    static_assert(hasForm<void (CSlider::*)(bool)>(&CSlider::setAnimated));
    static_assert(hasForm<void (CSlider::*)(const QColor&, const QColor&)>(&CSlider::setGrooveColors));
    static_assert(hasForm<void (CSlider::*)(int, int)>(&CSlider::setGrooveMetrics));
    static_assert(hasForm<void (CSlider::*)(int)>(&CSlider::setValueSilently));
    static_assert(hasForm<void (QAbstractSlider::*)()>(&CSlider::sliderPressed));
    static_assert(hasForm<void (QAbstractSlider::*)(int)>(&CSlider::valueChanged));
}

void TestCallerForms::progressBar()
{
    static_assert(std::is_constructible_v<CProgressBar, int, QWidget*, bool>);
    static_assert(std::is_base_of_v<QProgressBar, CProgressBar>);
    static_assert(hasForm<void (CProgressBar::*)(bool)>(&CProgressBar::setTaskbarProgressVisible));
}

QTEST_APPLESS_MAIN(TestCallerForms)
#include "tst_callerforms.moc"
