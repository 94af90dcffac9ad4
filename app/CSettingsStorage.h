#pragma once

#include <QSettings>

// The settings the shell and the widget library keep, all in the root group. Every key reads
// with a default; a setter writes only on a change, then emits the key's change signal.
// "updateCheckerEnabled" and "registerAsDefaultApp" are cached: load() reads them, save() writes them.
class CSettingsStorage : public QSettings
{
    Q_OBJECT
public:
    // Reads "FirstRun" into the running CApplicaiton.
    CSettingsStorage(const QString& fileName, QSettings::Format format, QObject* parent);
    // Writes "FirstRun" false: only a run that ends normally stops being the first.
    ~CSettingsStorage() override;

    virtual void load();
    virtual void save();

    bool updateCheckerEnabled() const;
    // Changes the cached value only; the file gets it through save().
    void setUpdateCheckerEnabled(const bool& val);
    bool registerAsDefaultApp() const;
    QString updateCheckerShowedVersion() const;
    void setUpdateCheckerShowedVersion(const QString& val);
    bool showFirstStartWizard() const;
    void setShowFirstStartWizard(const bool& val);
    int lastScreen() const;
    void setLastScreen(const int& val);
    // The desktop folder until one is stored.
    QString lastOpenFilePath() const;
    void setLastOpenFilePath(const QString& val);
    QString lastStyleId() const;
    void setLastStyleId(const QString& val);

signals:
    void lastScreenChanged(int val);
    void updateCheckerEnabledChanged(bool val);
    void updateCheckerShowedVersionChanged(QString val);
    void registerAsDefaultAppChanged(bool val);
    void checkIsNotDefaultChanged(bool val);
    void lastOpenFilePathChanged(QString val);
    void lastStyleIdChanged(QString val);
    void showFirstStartWizardChanged(bool val);

protected:
    // The stored value converted to T (text that does not parse gives 0, false or ""), the
    // default when missing or not convertible at all.
    template <class T>
    T readValue(const QString& key, const T& defaultValue) const;
    // Returns true when the value changed and was written.
    template <class T>
    bool writeValue(const QString& key, const T& val);

    static QString desktopFolder();

private:
    bool m_updateCheckerEnabled = true;
    bool m_registerAsDefaultApp = true;
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
