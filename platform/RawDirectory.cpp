#include "platform/RawDirectory.h"

#include <QFile>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace pomelark {

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

RawDirectoryEntry::Type typeOf(int folder, const dirent &entry)
{
    using Type = RawDirectoryEntry::Type;
    unsigned char type = entry.d_type;
    struct stat attributes {};
    if (type == DT_UNKNOWN) { // file systems that do not say in the listing
        if (::fstatat(folder, entry.d_name, &attributes, AT_SYMLINK_NOFOLLOW) != 0)
            return Type::other;
        type = S_ISDIR(attributes.st_mode) ? DT_DIR : S_ISLNK(attributes.st_mode) ? DT_LNK : DT_REG;
    }
    if (type == DT_DIR)
        return Type::folder;
    if (type == DT_LNK && ::fstatat(folder, entry.d_name, &attributes, 0) == 0 && S_ISDIR(attributes.st_mode))
        return Type::linkToFolder;
    return Type::other;
}

} // namespace

std::optional<QList<RawDirectoryEntry>> listRawDirectory(const QByteArray &path)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(path.constData()));
    if (!dir)
        return std::nullopt;
    QList<RawDirectoryEntry> entries;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        entries.append({name, typeOf(::dirfd(dir.get()), *entry)});
    }
    return entries;
}

std::optional<QString> pathAsText(const QByteArray &path)
{
    QString text = QFile::decodeName(path);
    if (QFile::encodeName(text) != path)
        return std::nullopt;
    return text;
}

} // namespace pomelark
