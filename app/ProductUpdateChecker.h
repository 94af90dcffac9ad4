#pragma once

#include <QObject>

#include <memory>

// Asks the maker's update service whether a version newer than the running one exists.
class ProductUpdateChecker : public QObject
{
    Q_OBJECT
public:
    static const QString kDefaultServiceUrl;

    ProductUpdateChecker(const QString& machineId, const QString& productId, const QString& newFeaturesUrl,
                         const QString& downloadUrl, QObject* parent);
    ~ProductUpdateChecker() override;

    void setServiceUrl(const QString& url);
    QString serviceUrl() const;
    // The address asked: the service with product, machine digest, check digest and version.
    QString queryText() const;

    // A request still in flight is aborted first; the time-out aborts this one.
    void request(int timeoutMs);
    void abort();

    // Lower-case hexadecimal MD5 of the UTF-8 bytes.
    static QString md5hex(const QString& text);

signals:
    void finished();
    void newVersionAvalible(QString newVerion, QString newFeaturesUrl, QString downloadUrl);
    void error(QString errorString);

private:
    struct Private;
    void onReplyFinished();

    std::unique_ptr<Private> d;
};
