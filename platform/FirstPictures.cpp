#include "platform/FirstPictures.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <map>
#include <memory>

namespace pomelark {

namespace {

struct DecoderFree {
    void operator()(AVCodecContext *decoder) const { avcodec_free_context(&decoder); }
};
struct FrameFree {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
using Decoder = std::unique_ptr<AVCodecContext, DecoderFree>;

Decoder openDecoder(const AVCodecParameters *parameters)
{
    const AVCodec *codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return {};
    Decoder decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), parameters) < 0)
        return {};
    // One picture: more threads would only delay it (frame threads hold pictures back).
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return {};
    return decoder;
}

} // namespace

QHash<int, QString> firstPictureFormats(AVFormatContext *container, const QList<int> &streams, int packetBudget)
{
    QHash<int, QString> formats;
    std::map<int, Decoder> decoders;
    for (const int index : streams) {
        if (index < 0 || unsigned(index) >= container->nb_streams)
            continue;
        if (Decoder decoder = openDecoder(container->streams[index]->codecpar))
            decoders.emplace(index, std::move(decoder));
    }
    const std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (!frame || !packet)
        return formats;

    auto takePicture = [&](int index, AVCodecContext *decoder) {
        while (!formats.contains(index) && avcodec_receive_frame(decoder, frame.get()) == 0) {
            if (const char *name = av_get_pix_fmt_name(AVPixelFormat(frame->format)))
                formats.insert(index, QString::fromLatin1(name));
            av_frame_unref(frame.get());
        }
    };
    for (int read = 0; read < packetBudget && formats.size() < qsizetype(decoders.size()); ++read) {
        if (av_read_frame(container, packet.get()) < 0)
            break;
        const int index = packet->stream_index;
        const auto decoder = decoders.find(index);
        if (decoder != decoders.end() && !formats.contains(index)) {
            avcodec_send_packet(decoder->second.get(), packet.get());
            takePicture(index, decoder->second.get());
        }
        av_packet_unref(packet.get());
    }
    // A decoder that holds pictures back for reordering gives them up when drained.
    for (const auto &[index, decoder] : decoders) {
        if (formats.contains(index))
            continue;
        avcodec_send_packet(decoder.get(), nullptr);
        takePicture(index, decoder.get());
    }
    return formats;
}

} // namespace pomelark
