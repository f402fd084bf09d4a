#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace pomelark::test {

/// Sets an environment variable for its own lifetime, then puts back what was
/// there before (or nothing).
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name), m_saved(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }

    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
    bool m_had;
};

} // namespace pomelark::test
