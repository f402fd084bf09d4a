#pragma once

#include <QStringList>

namespace pomelark {

/// The accessory sprites of the mascot's motions, in the sprite letter code
/// ("." is blank). Each list is made once and shared by every frame.
namespace MotionSprites {
const QStringList &note();       ///< hum
const QStringList &puff();       ///< blow
const QStringList &imprint();    ///< stamp
const QStringList &stamp();      ///< stamp
const QStringList &spark();      ///< stamp
const QStringList &heart();      ///< stretch, aww
const QStringList &letterZ();    ///< doze
const QStringList &magnifier();  ///< peek
const QStringList &blade();      ///< snip
const QStringList &snippet();    ///< snip
} // namespace MotionSprites

} // namespace pomelark
