#include "pages/VideoFormatSelectors.h"

#include "model/Resolution.h"
#include "pages/InterfaceText.h"

namespace {

const QList<int> kRates{15, 30};

} // namespace

ResolutionSelector::ResolutionSelector(int styleKind, int fullLabel, QWidget* parent)
    : CComboBase(styleKind, QSizePolicy::MinimumExpanding, 1, parent)
    , m_fullLabel(fullLabel)
{
    for (const QSize& size : Resolution::standardList())
        addItem(Resolution(size.width(), size.height()).toString());
    connect(this, &CComboBase::currentDataChanged, this, [this](const QVariant& data) {
        emit resolutionChanged(data.toString());
        updateButtonText();
    });
}

ResolutionSelector::~ResolutionSelector() = default;

QString ResolutionSelector::itemLabel(const QString& wxh)
{
    const Resolution resolution(wxh);
    if (resolution.isSquare1080())
        return QStringLiteral("%1x%2 (Instagram)").arg(resolution.width()).arg(resolution.height());
    if (resolution.isPortrait())
        return QStringLiteral("%1x%2 (%3)").arg(resolution.width()).arg(resolution.height()).arg(interfaceText(134));
    return wxh;
}

void ResolutionSelector::setResolution(const QString& wxh)
{
    setCurrentData(wxh);
}

void ResolutionSelector::setResolutionSilently(const QString& wxh)
{
    setCurrentDataSilently(wxh);
    updateButtonText();
}

void ResolutionSelector::updateTexts()
{
    for (const QSize& size : Resolution::standardList()) {
        const QString wxh = Resolution(size.width(), size.height()).toString();
        setItemText(wxh, itemLabel(wxh));
    }
    updateButtonText();
}

void ResolutionSelector::updateButtonText()
{
    const Resolution current(currentData().toString());
    if (m_fullLabel || !current.isValid())
        return;
    setText(current.toString());
}

FpsSelector::FpsSelector(int styleKind, QWidget* parent)
    : CComboBase(styleKind, QSizePolicy::MinimumExpanding, 1, parent)
{
    for (int rate : kRates)
        addItem(rate);
    connect(this, &CComboBase::currentDataChanged, this, [this](const QVariant& data) { emit fpsChanged(data.toInt()); });
}

FpsSelector::~FpsSelector() = default;

void FpsSelector::setFps(int fps)
{
    setCurrentData(fps);
}

void FpsSelector::setFpsSilently(int fps)
{
    setCurrentDataSilently(fps);
}

void FpsSelector::updateTexts()
{
    for (int rate : kRates)
        setItemText(rate, interfaceText(204).arg(rate));
}
