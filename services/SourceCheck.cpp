#include "services/SourceCheck.h"

#include "platform/ReadCheck.h"

#include <QFile>

#include <sys/stat.h>

namespace pomelark {

SourceCheck::SourceCheck(const QString &folder) : m_folder(QFile::encodeName(folder))
{
    struct stat attributes {};
    if (::stat(m_folder.constData(), &attributes) != 0)
        return;
    m_noted = true;
    m_device = attributes.st_dev;
    m_inode = attributes.st_ino;
}

bool SourceCheck::folderUnchanged() const
{
    struct stat attributes {};
    return m_noted && ::stat(m_folder.constData(), &attributes) == 0 && attributes.st_dev == m_device
           && attributes.st_ino == m_inode;
}

bool SourceCheck::stillAnswers(const QString &failed, const QString &witness, const QStringList &others) const
{
    if (!folderUnchanged())
        return false;
    const int error = ReadCheck::readError(failed);
    if (error == 0)
        return true;
    // A file that read a moment ago and no longer does: the card went (its
    // pages were dropped first, so the read reaches the card).
    if (!witness.isEmpty())
        return ReadCheck::readsFromDevice(witness);
    for (const QString &other : others) {
        if (ReadCheck::readsFromDevice(other))
            return true;
    }
    return !ReadCheck::isDeviceError(error);
}

} // namespace pomelark
