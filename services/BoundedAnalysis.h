#pragma once

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>
#include <qcoro/qcorotask.h>

#include <functional>
#include <vector>

namespace pomelark {

/// Receives (done, total) on the main thread while a scan runs.
using AnalysisProgress = std::function<void(int done, int total)>;

/// Runs one analysis per position 0…n−1 on `pool`, at most `window` at a time:
/// the first `window` positions start at once in order, and each time one
/// finishes the next position starts. Reports (0, n) first; then, as each
/// analysis finishes, counts it and reports (count, n) and hands its result to
/// `record` (both on the awaiting, main thread) before the next one starts. An
/// analysis that throws counts as finished with a default-made result.
///
/// Each of the `window` lanes is a coroutine that takes the next free position
/// when its analysis is reported, which gives exactly that order of starts.
template <typename Result>
class BoundedAnalysis {
public:
    static constexpr int window = 4;

    using Analyse = std::function<Result(int position)>;
    using Record = std::function<void(int position, Result result)>;

    static QCoro::Task<void> run(QThreadPool &pool, int n, Analyse analyse, AnalysisProgress progress, Record record)
    {
        BoundedAnalysis state{pool, n, std::move(analyse), std::move(progress), std::move(record)};
        state.m_progress(0, n);
        std::vector<QCoro::Task<void>> lanes;
        for (int lane = 0; lane < window && lane < n; ++lane)
            lanes.push_back(state.lane());
        for (QCoro::Task<void> &lane : lanes)
            co_await std::move(lane);
    }

private:
    BoundedAnalysis(QThreadPool &pool, int n, Analyse analyse, AnalysisProgress progress, Record record)
        : m_pool(pool), m_total(n), m_analyse(std::move(analyse)), m_progress(std::move(progress)),
          m_record(std::move(record))
    {
    }

    QCoro::Task<void> lane()
    {
        while (m_next < m_total) {
            const int position = m_next++;
            const Analyse &analyse = m_analyse;
            QFuture<Result> future = QtConcurrent::run(&m_pool, [&analyse, position]() -> Result {
                try {
                    return analyse(position);
                } catch (...) {
                    return Result{};
                }
            });
            Result result = co_await future;
            ++m_done;
            m_progress(m_done, m_total);
            m_record(position, std::move(result));
        }
    }

    QThreadPool &m_pool;
    const int m_total;
    const Analyse m_analyse;
    const AnalysisProgress m_progress;
    const Record m_record;
    int m_next = 0;
    int m_done = 0;
};

} // namespace pomelark
