#pragma once

#include <QSettings>

// The settings the shell and the widget library keep. Every key reads with a default and writes
// only on change, then emits its change signal.
class CSettingsStorage : public QSettings
{
    Q_OBJECT
public:
    CSettingsStorage(const QString& fileName, QSettings::Format format, QObject* parent);

    int lastScreen() const;
    void setLastScreen(const int& val);
    QString lastStyleId() const;
    void setLastStyleId(const QString& val);

signals:
    void lastScreenChanged(int val);
    void lastStyleIdChanged(QString val);

protected:
    template <class T>
    T readValue(const QString& key, const T& defaultValue) const;
    // Returns true when the value changed and was written.
    template <class T>
    bool writeValue(const QString& key, const T& val);
};

template <class T>
T CSettingsStorage::readValue(const QString& key, const T& defaultValue) const
{
    auto* self = const_cast<CSettingsStorage*>(this);
    self->beginGroup(QString());
    const QVariant value = self->value(key, QVariant::fromValue(defaultValue));
    self->endGroup();
    if (!value.canConvert<T>())
        return defaultValue;
    return value.value<T>();
}

template <class T>
bool CSettingsStorage::writeValue(const QString& key, const T& val)
{
    if (value(key) == QVariant::fromValue(val))
        return false;
    beginGroup(QString());
    setValue(key, QVariant::fromValue(val));
    endGroup();
    return true;
}
