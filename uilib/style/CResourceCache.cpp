#include "uilib/style/CResourceCache.h"

#include <QHash>
#include <QSharedPointer>
#include <QVector>

#include <algorithm>
#include <limits>
#include <list>

namespace {

struct KeyData
{
    int index = 0;
    bool valid = true;
};
using CacheKey = QSharedPointer<KeyData>;

int pixmapCost(const QPixmap& pixmap)
{
    const qint64 cost = qint64(pixmap.width()) * pixmap.height() * pixmap.depth() / 8192;
    return int(std::clamp<qint64>(cost, 1, std::numeric_limits<int>::max()));
}

} // namespace

class CResourceCacheItem;

// The cost-limited cache behind CResourceCache, with the key table and the string index.
class CResourceCacheBase : public QObject
{
public:
    explicit CResourceCacheBase(QObject* parent) : QObject(parent) {}
    ~CResourceCacheBase() override { trimTo(0); }

    bool find(const QString& key, QPixmap* out);
    bool insert(const QString& key, const QPixmap& pixmap);
    void setMaxCost(int maxCost)
    {
        m_maxCost = maxCost;
        trimTo(m_maxCost);
    }
    int totalCost() const { return m_totalCost; }
    void releaseIndex(int index);

private:
    struct Entry
    {
        int index;
        int cost;
        CResourceCacheItem* item;
    };
    using Recency = std::list<Entry>;

    CacheKey newKey();
    void remove(Recency::iterator entry);
    void trimTo(int cost);

    Recency m_recency;
    QHash<int, Recency::iterator> m_entries;
    int m_totalCost = 0;
    int m_maxCost = 10240;
    QVector<int> m_freeChain;
    int m_freeHead = 0;
    QHash<QString, CacheKey> m_strings;
};

// A cached pixmap; when it goes its key turns invalid and its index is free again.
class CResourceCacheItem : public QPixmap
{
public:
    CResourceCacheItem(const QPixmap& pixmap, CResourceCacheBase* base, const CacheKey& key)
        : QPixmap(pixmap), m_base(base), m_key(key)
    {
    }
    ~CResourceCacheItem()
    {
        m_base->releaseIndex(m_key->index);
        m_key->valid = false;
    }

private:
    CResourceCacheBase* m_base;
    CacheKey m_key;
};

void CResourceCacheBase::releaseIndex(int index)
{
    if (index < 1 || index > m_freeChain.size())
        return;
    m_freeChain[index - 1] = m_freeHead;
    m_freeHead = index - 1;
}

CacheKey CResourceCacheBase::newKey()
{
    if (m_freeHead == m_freeChain.size()) {
        const int oldSize = m_freeChain.size();
        const int newSize = oldSize ? oldSize * 2 : 2;
        m_freeChain.resize(newSize);
        for (int i = oldSize; i < newSize; ++i)
            m_freeChain[i] = i + 1;
    }
    CacheKey key(new KeyData);
    key->index = m_freeHead + 1;
    m_freeHead = m_freeChain[m_freeHead];
    return key;
}

void CResourceCacheBase::remove(Recency::iterator entry)
{
    m_totalCost -= entry->cost;
    m_entries.remove(entry->index);
    CResourceCacheItem* item = entry->item;
    m_recency.erase(entry);
    delete item;
}

void CResourceCacheBase::trimTo(int cost)
{
    while (!m_recency.empty() && m_totalCost > cost)
        remove(std::prev(m_recency.end()));
}

bool CResourceCacheBase::find(const QString& key, QPixmap* out)
{
    const CacheKey cacheKey = m_strings.value(key);
    const auto entry = cacheKey && cacheKey->valid ? m_entries.find(cacheKey->index) : m_entries.end();
    if (entry == m_entries.end()) {
        m_strings.remove(key);
        return false;
    }
    m_recency.splice(m_recency.begin(), m_recency, entry.value());
    if (out)
        *out = *entry.value()->item;
    return true;
}

bool CResourceCacheBase::insert(const QString& key, const QPixmap& pixmap)
{
    const int cost = pixmapCost(pixmap);
    CacheKey& slot = m_strings[key];
    if (slot && slot->valid) {
        const auto old = m_entries.find(slot->index);
        if (old != m_entries.end())
            remove(old.value());
    }
    slot = newKey();
    auto* item = new CResourceCacheItem(pixmap, this, slot);
    if (cost > m_maxCost) {
        delete item;
        m_strings.remove(key);
        return false;
    }
    trimTo(m_maxCost - cost);
    m_recency.push_front(Entry{slot->index, cost, item});
    m_entries.insert(slot->index, m_recency.begin());
    m_totalCost += cost;
    return true;
}

CResourceCache::CResourceCache(QObject* parent)
    : QObject(parent), d(new CResourceCacheBase(this))
{
}

CResourceCache::~CResourceCache() = default;

void CResourceCache::setCacheLimit(int megabytes)
{
    d->setMaxCost(megabytes << 10);
}

bool CResourceCache::find(const QString& key, QPixmap* out)
{
    return d->find(key, out);
}

bool CResourceCache::insert(const QString& key, const QPixmap& pixmap)
{
    return d->insert(key, pixmap);
}

int CResourceCache::totalCost() const
{
    return d->totalCost();
}
