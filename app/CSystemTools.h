#pragma once

#include <QObject>
#include <QPointer>

class CResourceCache;
class CStyle;

// The application-wide service; it owns the style holder and the shared pixmap cache.
class CSystemTools : public QObject
{
    Q_OBJECT
public:
    explicit CSystemTools(QObject* parent);
    ~CSystemTools() override;

    // The service of the running CApplicaiton; null under any other application.
    static CSystemTools* instance();

    CStyle* style() const;
    // Made again when the previous one is gone; limited to 50 MB.
    CResourceCache* resourceCache();
    virtual void setupStyle();

private:
    QPointer<CStyle> m_style;
    QPointer<CResourceCache> m_resourceCache;
};
