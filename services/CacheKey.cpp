#include "services/CacheKey.h"

#include <QCryptographicHash>
#include <QFile>

#include <charconv>
#include <cmath>

#include <sys/stat.h>

namespace pomelark {

std::optional<QString> CacheKey::of(const QString &path)
{
    struct stat attributes {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &attributes) != 0)
        return std::nullopt;
    const double modified = double(attributes.st_mtim.tv_sec) + double(attributes.st_mtim.tv_nsec) / 1e9;
    const QByteArray text = path.toUtf8() + '|' + roundTripText(modified).toLatin1();
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

QString CacheKey::roundTripText(double value)
{
    char buffer[400];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!text.contains(QLatin1Char('.')) && std::isfinite(value))
        text += QStringLiteral(".0");
    return text;
}

std::optional<double> CacheKey::parseDecimal(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    if (bytes.isEmpty() || text.size() != bytes.size())
        return std::nullopt;
    double value = 0;
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    // from_chars takes no blanks, no sign "+", and nothing after the number.
    const std::from_chars_result result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace pomelark
