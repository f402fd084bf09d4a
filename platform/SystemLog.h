#pragma once

#include <QString>
#include <QStringList>

namespace pomelark {

/// Diagnostic lines for the system log.
///
/// Each line goes to syslog and to standard error as it stands: the text is
/// always passed as an argument, never as a format, so a path holding "%s" is
/// written literally. Writing never fails; a line that cannot be delivered is lost.
class SystemLog {
public:
    /// Writes `text` as one line: line breaks inside it become " | ".
    static void write(const QString &text);

    /// While one of these lives, lines are collected here instead of being
    /// written, so tests can read what a component logged. Not for production use;
    /// one capture at a time.
    class Capture {
    public:
        Capture();
        ~Capture();
        Capture(const Capture &) = delete;
        Capture &operator=(const Capture &) = delete;

        QStringList lines() const;
    };
};

} // namespace pomelark
