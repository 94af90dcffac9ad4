#pragma once

#include <QString>

// Registry keys and value names of render sessions, shared by the render helper and
// the program that steers it.
namespace SessionKey {

// "HKEY_CURRENT_USER\Software\<application name>\Sessions": the parent of every session.
QString sessions();
// The key of one session; an id that is empty, "." or "..", or holds "/" gives a key
// that RegistryKey refuses.
QString of(const QString& sessionId);

inline const QString totalTask = QStringLiteral("total_task");
inline const QString totalPage = QStringLiteral("total_page");
inline const QString isCanceled = QStringLiteral("is_canceled");
inline const QString isPaused = QStringLiteral("is_paused");

} // namespace SessionKey
