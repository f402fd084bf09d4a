#pragma once

#include <QCoreApplication>
#include <QList>
#include <QMetaObject>

#include <coroutine>
#include <exception>
#include <optional>

namespace pomelark {

/// A value (or an error) that several coroutines on one thread wait for: the
/// first to need it starts the work, later ones join and all receive the same
/// outcome. Waiters are resumed from the event loop, never inside `set…()`.
template <typename T>
class SharedOutcome {
public:
    bool isSet() const { return m_value.has_value() || m_error; }

    void setValue(T value)
    {
        m_value = std::move(value);
        wakeAll();
    }

    void setError(std::exception_ptr error)
    {
        m_error = std::move(error);
        wakeAll();
    }

    /// `co_await outcome.wait()` gives the value or throws the error.
    auto wait()
    {
        struct Awaiter {
            SharedOutcome &outcome;
            bool await_ready() const noexcept { return outcome.isSet(); }
            void await_suspend(std::coroutine_handle<> waiter) { outcome.m_waiters.append(waiter); }
            T await_resume() const
            {
                if (outcome.m_error)
                    std::rethrow_exception(outcome.m_error);
                return *outcome.m_value;
            }
        };
        return Awaiter{*this};
    }

private:
    void wakeAll()
    {
        const QList<std::coroutine_handle<>> waiters = std::exchange(m_waiters, {});
        for (const std::coroutine_handle<> waiter : waiters)
            QMetaObject::invokeMethod(QCoreApplication::instance(), [waiter] { waiter.resume(); }, Qt::QueuedConnection);
    }

    std::optional<T> m_value;
    std::exception_ptr m_error;
    QList<std::coroutine_handle<>> m_waiters;
};

} // namespace pomelark
