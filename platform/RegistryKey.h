#pragma once

#include <QString>

// A per-user registry key "HKEY_CURRENT_USER\Software\<c1>\...\<cn>", kept as the INI file
// "<config>/<c1>/.../<cn>.conf" (the file QSettings(c1, c2) uses for a two-part key); its
// subkeys live in the folder "<config>/<c1>/.../<cn>/".
// Every read opens the file afresh and every write replaces it before returning, so two
// processes always see each other's latest values. Values are integers at the top level.
class RegistryKey
{
public:
    // A path with another root, or with a part that is empty, "." or "..", or holds "/",
    // gives an invalid key: it reads 0 and refuses every change.
    explicit RegistryKey(const QString& path);

    bool isValid() const { return !m_file.isEmpty(); }
    // The INI file of the key; empty when invalid.
    QString filePath() const { return m_file; }

    // The value, or 0 when the key, the value or a number is missing.
    qint64 intValue(const QString& name) const;
    // Stores the value; false when the key or the name is refused or the file cannot be written.
    bool setIntValue(const QString& name, qint64 value);
    // Removes the key's file and its folder of subkeys; true when neither is left.
    bool remove();

private:
    QString m_file;
};
