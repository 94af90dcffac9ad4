#include "app/ProductUpdateChecker.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVersionNumber>

namespace {

const QString kQueryPattern = QStringLiteral("%1?mso=1&pid=%3&mid=%4&h=%5&ver=%2");
const QString kSalt = QStringLiteral("Kestrova");

} // namespace

const QString ProductUpdateChecker::kDefaultServiceUrl = QStringLiteral("https://kestrovasoft.com/check.php");

struct ProductUpdateChecker::Private
{
    QPointer<QNetworkAccessManager> network;
    QPointer<QNetworkReply> reply;
    QTimer timer;
    QString machineId;
    QString productId;
    QString newFeaturesUrl;
    QString downloadUrl;
    QString serviceUrl = kDefaultServiceUrl;
};

ProductUpdateChecker::ProductUpdateChecker(const QString& machineId, const QString& productId,
                                           const QString& newFeaturesUrl, const QString& downloadUrl,
                                           QObject* parent)
    : QObject(parent), d(new Private)
{
    d->machineId = machineId;
    d->productId = productId;
    d->newFeaturesUrl = newFeaturesUrl;
    d->downloadUrl = downloadUrl;
    d->timer.setSingleShot(true);
    connect(&d->timer, &QTimer::timeout, this, &ProductUpdateChecker::abort);
}

ProductUpdateChecker::~ProductUpdateChecker() = default;

void ProductUpdateChecker::setServiceUrl(const QString& url)
{
    d->serviceUrl = url;
}

QString ProductUpdateChecker::serviceUrl() const
{
    return d->serviceUrl;
}

QString ProductUpdateChecker::md5hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QString ProductUpdateChecker::queryText() const
{
    const QString mid = md5hex(d->machineId + kSalt);
    const QString h = md5hex(d->productId + mid + kSalt);
    // One multi-argument arg, so a "%1" inside a value stays as it is.
    return kQueryPattern.arg(d->serviceUrl, QCoreApplication::applicationVersion(), d->productId, mid, h);
}

void ProductUpdateChecker::request(int timeoutMs)
{
    if (!d->network)
        d->network = new QNetworkAccessManager(this);
    if (d->reply)
        abort();
    d->reply = d->network->get(QNetworkRequest(QUrl(queryText(), QUrl::TolerantMode)));
    connect(d->reply, &QNetworkReply::finished, this, &ProductUpdateChecker::onReplyFinished);
    d->timer.start(timeoutMs);
}

void ProductUpdateChecker::abort()
{
    d->timer.stop();
    if (d->reply)
        d->reply->abort();
}

void ProductUpdateChecker::onReplyFinished()
{
    d->timer.stop();
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    if (reply->error() == QNetworkReply::NoError) {
        const QString body = QString::fromUtf8(reply->readAll());
        const QVersionNumber running = QVersionNumber::fromString(QCoreApplication::applicationVersion());
        if (!body.isEmpty() && QVersionNumber::compare(QVersionNumber::fromString(body), running) > 0)
            emit newVersionAvalible(body, d->newFeaturesUrl, d->downloadUrl);
    }
    if (reply == d->reply)
        d->reply = nullptr;
    reply->deleteLater();
    emit finished();
}
