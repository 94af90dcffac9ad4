#pragma once

#include <QMutex>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class QImage;
struct AVCodec;
struct AVCodecContext;
struct AVDictionary;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

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

    void setFileName(const QString& fileName) { m_fileName = fileName; }
    // Both keep the size even: 1081 becomes 1080.
    void setWidth(int width) { m_width = width & ~1; }
    void setHeight(int height) { m_height = height & ~1; }
    void setFps(int fps) { m_fps = fps; }
    // 1 or 2 write video; any other mode writes no stream.
    void setMode(int mode) { m_mode = mode; }

    // Creates the file and writes the container header. False when already open.
    bool open();
    // Scales the frame to the encoder's size and writes what the codec gives back.
    // False when not open or for an image format without a matching source format.
    bool encodeFrame(const QImage& image);
    // Flushes the codec, finishes and closes the file, frees everything and puts
    // the configuration back to its defaults. False when a write failed (a full disk):
    // the file is then incomplete.
    bool close();

    static qint64 bitRateForHeight(int height);

private:
    bool isVideoMode() const { return m_mode == 1 || m_mode == 2; }
    bool addStream();
    bool openCodec();
    void setCodecOptions(AVDictionary** options);
    bool allocatePicture();
    bool prepareScaler(const QSize& size, int format);
    // Converts and scales the image into the picture.
    bool scale(const QImage& image);
    bool writePendingPackets();
    bool release();

    int m_fps = 15;
    int m_mode = 1;
    QString m_fileName;
    int m_width = 640;
    int m_height = 480;
    qint64 m_frameCounter = 0;

    AVFormatContext* m_formatContext = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_picture = nullptr;
    AVFrame* m_source = nullptr; // borrows each image's pixels for the scaler
    std::vector<uint8_t> m_edgePixels; // the pixels of a frame of odd width
    AVCodecContext* m_codecContext = nullptr;
    const AVCodec* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_scaler = nullptr;
    QSize m_sourceSize; // of the frames the scaler was made for
    int m_sourceFormat = -1;
    bool m_headerWritten = false;

    QMutex m_writeLock;
};
