#include "app/StoredSetting.h"

#include <QSettings>

namespace pomelark {

Binding<QString> StoredSetting::text(const QString &key, std::function<QString()> fallback)
{
    // A fresh QSettings each time: they share one cache per file, and a binding
    // may outlive any object it could hold.
    return {[key, fallback = std::move(fallback)] {
                const QSettings settings;
                return settings.contains(key) ? settings.value(key).toString() : fallback();
            },
            [key](QString value) { QSettings().setValue(key, value); }};
}

} // namespace pomelark
