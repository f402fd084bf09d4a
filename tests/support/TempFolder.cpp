#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace pomelark::test {

TempFolder::TempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/pomelark-test-XXXXXX"))
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
}

QString TempFolder::makeFolder(const QString &relative) const
{
    const QString path = filePath(relative);
    QDir().mkpath(path);
    return path;
}

QMap<QString, QByteArray> folderFingerprint(const QString &root)
{
    QMap<QString, QByteArray> prints;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray print;
        if (info.isSymLink()) {
            print = "link:" + info.symLinkTarget().toUtf8();
        } else {
            QFile file(path);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            if (file.open(QIODevice::ReadOnly))
                hash.addData(&file);
            print = hash.result().toHex() + ' '
                + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
        }
        prints.insert(QDir(root).relativeFilePath(path), print);
    }
    return prints;
}

} // namespace pomelark::test
