#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class CIcon;
class CResourceCache;

// The icons by path, made on first request and kept for the repository's life, with the
// cache of their rendered pictures (50 MB).
class CIconRepo : public QObject
{
public:
    explicit CIconRepo(QObject* parent);
    ~CIconRepo() override;

    // The application's repository.
    static CIconRepo* instance();

    // The icon of a file; a path that names no file gives the shared empty icon. A file that
    // does not load gives an invalid icon, kept under its path.
    CIcon* icon(const QString& path);
    CIcon* iconFromUtf8(const char* path);
    // Takes a ready-made icon under its own path; false, and the icon stays the caller's, when
    // the path is taken already or the icon is null.
    bool addIcon(CIcon* icon);
    bool contains(const QString& path) const { return m_icons.contains(path); }
    CResourceCache* cache() const { return m_cache; }

private:
    QHash<QString, CIcon*> m_icons;
    CIcon* m_none = nullptr;
    CResourceCache* m_cache;
};
