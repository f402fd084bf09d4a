#pragma once

#include <QCoreApplication>
#include <QString>

namespace pomelark {

/// Says what the system reported about a file or a device (an errno value) in
/// the display language. The C library describes errors in English, or in
/// whatever language its own catalogues happen to hold, which would end a
/// Korean sentence in English; so the causes a user meets in practice get
/// our own words, and only the rare rest keep the system's description.
/// Safe on any thread.
class SystemErrorText {
    Q_DECLARE_TR_FUNCTIONS(pomelark::SystemErrorText)

public:
    /// Our words for `error` when it is a common cause: no permission, not
    /// allowed, read-only disk, full disk, used-up quota, nothing there, a file
    /// where a folder should be or the reverse, a taken name, a name too long,
    /// a file too large, an input/output error, a device gone, no memory. The
    /// system's own description for any other value.
    static QString of(int error);

    /// For a description the C library wrote without us seeing its errno (the
    /// log of a child program): our words when `description` is exactly the
    /// system's description of one of the common causes (in English or in the
    /// process's own language), else `description` as it stands.
    static QString ofDescription(const QString &description);

    /// The C library's description of `error`, in English whatever the process's
    /// language: for logs, where a reader searches for the system's own words.
    static QString systemDescription(int error);
};

} // namespace pomelark
