#pragma once

#include <QThreadPool>

#include <memory>

namespace pomelark {

/// Thread pools whose owners went while a job still ran a step that cannot be
/// interrupted: an encode, a read from a card that stopped answering.
///
/// A pool waits for its jobs when it is destroyed. Kept here instead, it lets
/// its owner go at once; each of its threads ends as soon as its job does, and
/// the pool itself goes once none runs. Any thread.
namespace AbandonedPools {

/// Keeps `pool` until its jobs have ended. Jobs not yet begun still run:
/// the owner stops or cancels them first.
void keep(std::shared_ptr<QThreadPool> pool);

/// How many pools are kept now, their jobs still running or just ended.
int count();

} // namespace AbandonedPools

} // namespace pomelark
