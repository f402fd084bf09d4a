#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <locale.h>

namespace pomelark {

namespace {

struct Cause {
    int error;
    const char *words;
};

// Short enough to follow "Couldn't …:" in either language.
constexpr Cause causes[] = {
    {EACCES, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "No permission")},
    {EPERM, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "Not allowed")},
    {EROFS, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The disk is read-only")},
    {ENOSPC, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The disk is full")},
    {EDQUOT, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "Your disk quota is used up")},
    {ENOENT, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "It isn't there")},
    {ENOTDIR, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "A file is where a folder should be")},
    {EISDIR, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "It's a folder, not a file")},
    {EEXIST, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The name is taken")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The name is too long")},
    {EFBIG, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The file is too large")},
    {EIO, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The disk couldn't be read or written")},
    {ENODEV, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The device isn't connected")},
    {ENXIO, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "The device isn't connected")},
    {ENOMEM, QT_TRANSLATE_NOOP("pomelark::SystemErrorText", "Not enough memory")},
};

const char *wordsFor(int error)
{
    for (const Cause &cause : causes)
        if (cause.error == error)
            return cause.words;
    return nullptr;
}

/// strerror() in the process's language; strerror_r, as strerror may share
/// one buffer between threads.
QString localDescription(int error)
{
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

} // namespace

QString SystemErrorText::of(int error)
{
    if (const char *words = wordsFor(error))
        return tr(words);
    return localDescription(error);
}

QString SystemErrorText::ofDescription(const QString &description)
{
    const QString text = description.trimmed();
    for (const Cause &cause : causes)
        if (text == systemDescription(cause.error) || text == localDescription(cause.error))
            return tr(cause.words);
    return description;
}

QString SystemErrorText::systemDescription(int error)
{
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (!c)
        return localDescription(error);
    return QString::fromLatin1(::strerror_l(error, c));
}

} // namespace pomelark
