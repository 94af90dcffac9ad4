#pragma once

#include "av/AvHolders.h"

#include <QMutex>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class QImage;

// Writes frames into a video file without sound; the container follows the file
// name's extension. Configure, open, feed frames (from any one thread), close.
// open, encodeFrame and close exclude each other.
class VideoEncoder
{
public:
    VideoEncoder() = default;
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    void setFileName(const QString& fileName) { m_settings.fileName = fileName; }
    // Both keep the size even: 1081 becomes 1080.
    void setWidth(int width) { m_settings.width = width & ~1; }
    void setHeight(int height) { m_settings.height = height & ~1; }
    void setFps(int fps) { m_settings.fps = fps; }
    // 1 or 2 write video; any other mode writes no stream.
    void setMode(int mode) { m_settings.mode = mode; }

    // Creates the file and writes the container header. False when already open.
    bool open();
    // Scales the frame to the encoder's size and writes what the codec gives back.
    // False when not open or for an image format without a matching source format.
    bool encodeFrame(const QImage& image);
    // Flushes the codec, finishes and closes the file, frees everything and puts
    // the configuration back to its defaults. False when a write failed (a full disk):
    // the file is then incomplete.
    bool close();
    // Why the first failure since open failed, with FFmpeg's text; empty when none did.
    QString errorString() const { return m_error; }

    static qint64 bitRateForHeight(int height);

private:
    struct Settings {
        int fps = 15;
        int mode = 1;
        QString fileName;
        int width = 640;
        int height = 480;
    };

    bool isVideoMode() const { return m_settings.mode == 1 || m_settings.mode == 2; }
    bool addStream();
    bool openCodec();
    void setCodecOptions(AVDictionary** options);
    bool allocatePicture();
    bool prepareScaler(const QSize& size, int format);
    // Converts and scales the image into the picture.
    bool scale(const QImage& image);
    bool writePendingPackets();
    bool release();
    // Keeps the first failure's reason: what failed, then FFmpeg's text for code. False.
    bool fail(const QString& what, int code);
    bool writeFailed(int code);

    Settings m_settings;
    qint64 m_frameCounter = 0;

    AvOutputPtr m_formatContext;
    AVStream* m_stream = nullptr;
    AvFramePtr m_picture;
    AvFramePtr m_source; // borrows each image's pixels for the scaler
    std::vector<uint8_t> m_edgePixels; // the pixels of a frame of odd width
    AvCodecContextPtr m_codecContext;
    const AVCodec* m_codec = nullptr;
    AvPacketPtr m_packet;
    SwsContextPtr m_scaler;
    QSize m_sourceSize; // of the frames the scaler was made for
    int m_sourceFormat = -1;
    bool m_headerWritten = false;
    QString m_error;

    QMutex m_writeLock;
};
