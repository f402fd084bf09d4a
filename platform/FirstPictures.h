#pragma once

#include <QHash>
#include <QList>
#include <QString>

struct AVFormatContext;

namespace pomelark {

/// Decodes the first picture of each of the given video streams of an opened
/// container, reading on from where the container stands, and names the pixel
/// format the decoder gave it with libavutil's name ("yuv420p", "yuvj422p",
/// "yuv420p10le"): the layout a player built on this libavcodec receives.
///
/// At most `packetBudget` packets are read in all, so a stream whose pictures
/// never decode (damaged, or hidden behind a long run of other streams) costs a
/// bounded read; such a stream is missing from the answer. The container's
/// interrupt callback still applies.
QHash<int, QString> firstPictureFormats(AVFormatContext *container, const QList<int> &streams, int packetBudget);

} // namespace pomelark
