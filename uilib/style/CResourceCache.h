#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

class CResourceCacheBase;

// A pixmap cache by string key with a cost limit in kilobytes; the least recently used go first.
class CResourceCache : public QObject
{
public:
    explicit CResourceCache(QObject* parent);
    ~CResourceCache() override;

    void setCacheLimit(int megabytes);
    bool find(const QString& key, QPixmap* out);
    bool insert(const QString& key, const QPixmap& pixmap);
    int totalCost() const;

private:
    CResourceCacheBase* d;
};
