#include "app/DroppedFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>
#include <QUrl>

namespace {

class DropWalker
{
public:
    explicit DropWalker(const QStringList& suffixes)
    {
        for (const QString& suffix : suffixes)
            m_suffixes.insert(suffix.toLower());
    }

    void add(const QUrl& url)
    {
        const QString path = url.toLocalFile();
        if (path.isEmpty())
            return;
        const QFileInfo info(path);
        if (info.isDir())
            walk(info);
        else
            take(info);
    }

    QStringList files() const { return m_files; }

private:
    void take(const QFileInfo& info)
    {
        if (info.isFile() && m_suffixes.contains(info.suffix().toLower()))
            m_files.append(info.filePath());
    }

    void walk(const QFileInfo& folder)
    {
        const QString canonical = folder.canonicalFilePath();
        if (canonical.isEmpty() || m_walked.contains(canonical))
            return;
        m_walked.insert(canonical);
        const QFileInfoList entries = QDir(folder.filePath())
                                          .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                                         QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& entry : entries) {
            if (entry.isDir())
                walk(entry);
            else
                take(entry);
        }
    }

    QSet<QString> m_suffixes;
    QSet<QString> m_walked;
    QStringList m_files;
};

} // namespace

QStringList filesFromMimeData(const QMimeData* mime, QStringList suffixes)
{
    if (!mime)
        return {};
    DropWalker walker(suffixes);
    for (const QUrl& url : mime->urls())
        walker.add(url);
    return walker.files();
}

QStringList filesFromUrl(const QUrl& url, const QStringList& suffixes)
{
    DropWalker walker(suffixes);
    walker.add(url);
    return walker.files();
}
