#include <QtTest>

#include "convert/CWavSink.h"
#include "convert/PresentationClock.h"
#include "support/MemoryByteStream.h"

#include <future>

using State = CWavStream::State;
using Operation = CWavStream::Operation;

Q_DECLARE_METATYPE(MediaStatus)
Q_DECLARE_METATYPE(MediaType)

char* toString(MediaStatus status)
{
    return qstrdup(QByteArray::number(static_cast<int>(status)));
}

namespace {

constexpr int EventTimeoutMs = 5000;
// Long enough for the sink's thread to have reported anything still due.
constexpr int QuietMs = 100;

// Fails every write.
class BrokenByteStream : public ByteStream
{
public:
    unsigned capabilities() const override { return Writable | Seekable; }
    MediaStatus setCurrentPosition(std::uint64_t) override { return MediaStatus::Ok; }
    MediaStatus write(const std::uint8_t*, std::size_t) override { return MediaStatus::IoError; }
    MediaStatus close() override { return MediaStatus::Ok; }
};

MediaType pcmType(std::uint32_t rate, std::uint32_t bits, std::uint32_t channels)
{
    MediaType type;
    type.channels = channels;
    type.samplesPerSecond = rate;
    type.bitsPerSample = bits;
    type.blockAlignment = channels * bits / 8;
    type.avgBytesPerSecond = type.blockAlignment * rate;
    type.allSamplesIndependent = true;
    return type;
}

std::shared_ptr<MediaSample> makeSample(std::vector<std::uint8_t> bytes,
                                        std::optional<std::int64_t> time = {})
{
    auto sample = std::make_shared<MediaSample>();
    sample->time = time;
    const std::size_t length = bytes.size();
    sample->buffers.push_back({std::move(bytes), length});
    return sample;
}

// A sink over an in-memory (or given) byte stream, with helpers to drive it.
struct SinkFixture
{
    explicit SinkFixture(std::shared_ptr<ByteStream> target = nullptr)
        : bytes(target ? nullptr : std::make_shared<MemoryByteStream>())
    {
        status = CWavSink::create(target ? target : bytes, sink);
        if (sink)
            sink->getStreamSinkByIndex(0, stream);
    }

    bool nextEvent(MediaEvent& event, int timeoutMs = EventTimeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (stream->getEvent(event, false) == MediaStatus::Ok)
                return true;
            QThread::msleep(1);
        }
        return false;
    }

    // Skips other events; false when none of that type comes.
    bool waitFor(MediaEventType type, MediaEvent* found = nullptr, int timeoutMs = EventTimeoutMs)
    {
        MediaEvent event;
        while (nextEvent(event, timeoutMs)) {
            if (event.type == type) {
                if (found)
                    *found = event;
                return true;
            }
        }
        return false;
    }

    MediaStatus finalize()
    {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> finished = done->get_future();
        const MediaStatus begun = sink->beginFinalize([done] { done->set_value(); });
        if (failed(begun))
            return begun;
        if (finished.wait_for(std::chrono::milliseconds(EventTimeoutMs)) != std::future_status::ready)
            return MediaStatus::Fail;
        return sink->endFinalize();
    }

    std::shared_ptr<MemoryByteStream> bytes;
    std::unique_ptr<CWavSink> sink;
    CWavStream* stream = nullptr;
    MediaStatus status = MediaStatus::Fail;
};

} // namespace

class TestWavSink : public QObject
{
    Q_OBJECT

private slots:
    void validOperations_data();
    void validOperations();
    void offeredTypes_data();
    void offeredTypes();
    void typeSupport_data();
    void typeSupport();
    void currentType();
    void headerAndData();
    void markers_data();
    void markers();
    void creationNeedsSeekableWritable_data();
    void creationNeedsSeekableWritable();
    void secondFinalizeRefused();
    void writeFailures();
    void sinkInterface();
    void clockDrivesStream();
    void everythingRefusedAfterShutdown();
};

// Rows: states in order; columns: operations in order (1 = allowed).
static const bool ValidTable[6][8] = {
    {1, 0, 0, 0, 0, 0, 0, 0}, // TypeNotSet
    {1, 1, 0, 1, 1, 0, 1, 1}, // Ready
    {0, 1, 0, 1, 1, 1, 1, 1}, // Started
    {0, 1, 1, 1, 1, 1, 1, 1}, // Stopped
    {0, 1, 0, 0, 1, 0, 1, 1}, // Paused
    {0, 0, 0, 0, 0, 0, 0, 0}, // Finalized
};

void TestWavSink::validOperations_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("operation");
    QTest::addColumn<bool>("allowed");
    const char* states[] = {"TypeNotSet", "Ready", "Started", "Stopped", "Paused", "Finalized"};
    const char* operations[] = {"SetMediaType", "Start",         "Restart",     "Pause",
                                "Stop",         "ProcessSample", "PlaceMarker", "Finalize"};
    for (int s = 0; s < 6; ++s) {
        for (int o = 0; o < 8; ++o)
            QTest::addRow("%s %s", states[s], operations[o]) << s << o << ValidTable[s][o];
    }
}

void TestWavSink::validOperations()
{
    QFETCH(int, state);
    QFETCH(int, operation);
    QFETCH(bool, allowed);

    SinkFixture f;
    QVERIFY(f.stream);
    const MediaType type = pcmType(44100, 16, 2);
    const auto reach = static_cast<State>(state);
    if (reach != State::TypeNotSet)
        QCOMPARE(f.stream->setCurrentMediaType(type), MediaStatus::Ok);
    if (reach == State::Started || reach == State::Stopped || reach == State::Paused)
        QCOMPARE(f.sink->onClockStart(0, 0), MediaStatus::Ok);
    if (reach == State::Stopped)
        QCOMPARE(f.sink->onClockStop(0), MediaStatus::Ok);
    if (reach == State::Paused)
        QCOMPARE(f.sink->onClockPause(0), MediaStatus::Ok);
    if (reach == State::Finalized)
        QCOMPARE(f.sink->beginFinalize(nullptr), MediaStatus::Ok);

    MediaStatus status = MediaStatus::Fail;
    switch (static_cast<Operation>(operation)) {
    case Operation::SetMediaType: status = f.stream->setCurrentMediaType(type); break;
    case Operation::Start: status = f.sink->onClockStart(0, 0); break;
    case Operation::Restart: status = f.sink->onClockRestart(0); break;
    case Operation::Pause: status = f.sink->onClockPause(0); break;
    case Operation::Stop: status = f.sink->onClockStop(0); break;
    case Operation::ProcessSample: status = f.stream->processSample(makeSample({1, 2, 3, 4})); break;
    case Operation::PlaceMarker: status = f.stream->placeMarker(MarkerType::Default, {}, {}); break;
    case Operation::Finalize: status = f.sink->beginFinalize(nullptr); break;
    }
    QCOMPARE(status, allowed ? MediaStatus::Ok : MediaStatus::InvalidRequest);
}

void TestWavSink::offeredTypes_data()
{
    QTest::addColumn<quint32>("index");
    QTest::addColumn<quint32>("rate");
    QTest::addColumn<quint32>("bits");
    QTest::addColumn<quint32>("channels");
    QTest::addColumn<quint32>("blockAlignment");
    QTest::addColumn<quint32>("avgBytes");
    QTest::newRow("0") << 0u << 48000u << 16u << 2u << 4u << 192000u;
    QTest::newRow("1") << 1u << 48000u << 8u << 2u << 2u << 96000u;
    QTest::newRow("2") << 2u << 44100u << 16u << 2u << 4u << 176400u;
    QTest::newRow("3") << 3u << 44100u << 8u << 2u << 2u << 88200u;
    QTest::newRow("4") << 4u << 22050u << 16u << 2u << 4u << 88200u;
    QTest::newRow("5") << 5u << 22050u << 8u << 2u << 2u << 44100u;
    QTest::newRow("6") << 6u << 48000u << 16u << 1u << 2u << 96000u;
    QTest::newRow("7") << 7u << 48000u << 8u << 1u << 1u << 48000u;
    QTest::newRow("8") << 8u << 44100u << 16u << 1u << 2u << 88200u;
    QTest::newRow("9") << 9u << 44100u << 8u << 1u << 1u << 44100u;
    QTest::newRow("10") << 10u << 22050u << 16u << 1u << 2u << 44100u;
    QTest::newRow("11") << 11u << 22050u << 8u << 1u << 1u << 22050u;
}

void TestWavSink::offeredTypes()
{
    QFETCH(quint32, index);
    QFETCH(quint32, rate);
    QFETCH(quint32, bits);
    QFETCH(quint32, channels);
    QFETCH(quint32, blockAlignment);
    QFETCH(quint32, avgBytes);

    SinkFixture f;
    std::uint32_t count = 0;
    QCOMPARE(f.stream->getMediaTypeCount(count), MediaStatus::Ok);
    QCOMPARE(count, 12u);
    MediaType type;
    QCOMPARE(f.stream->getMediaTypeByIndex(index, type), MediaStatus::Ok);
    QVERIFY(type.majorType == MajorType::Audio);
    QVERIFY(type.subtype == AudioSubtype::Pcm);
    QCOMPARE(type.samplesPerSecond, rate);
    QCOMPARE(type.bitsPerSample, bits);
    QCOMPARE(type.channels, channels);
    QCOMPARE(type.blockAlignment, blockAlignment);
    QCOMPARE(type.avgBytesPerSecond, avgBytes);
    QVERIFY(type.allSamplesIndependent);
    QCOMPARE(f.stream->isMediaTypeSupported(type), MediaStatus::Ok);
    QCOMPARE(f.stream->getMediaTypeByIndex(12, type), MediaStatus::NoMoreTypes);
}

void TestWavSink::typeSupport_data()
{
    QTest::addColumn<MediaType>("type");
    QTest::addColumn<MediaStatus>("expected");
    const MediaType base = pcmType(44100, 16, 2);
    auto with = [&](auto change) {
        MediaType type = base;
        change(type);
        return type;
    };
    QTest::newRow("16-bit stereo") << base << MediaStatus::Ok;
    QTest::newRow("8-bit mono at 32 kHz") << pcmType(32000, 8, 1) << MediaStatus::Ok;
    QTest::newRow("video") << with([](MediaType& t) { t.majorType = MajorType::Video; })
                           << MediaStatus::InvalidType;
    QTest::newRow("float") << with([](MediaType& t) { t.subtype = AudioSubtype::Float; })
                           << MediaStatus::InvalidMediaType;
    QTest::newRow("no channels") << pcmType(44100, 16, 0) << MediaStatus::InvalidMediaType;
    QTest::newRow("three channels") << pcmType(44100, 16, 3) << MediaStatus::InvalidMediaType;
    QTest::newRow("24 bits") << pcmType(44100, 24, 2) << MediaStatus::InvalidMediaType;
    QTest::newRow("12 bits") << pcmType(44100, 12, 2) << MediaStatus::InvalidMediaType;
    QTest::newRow("block alignment")
        << with([](MediaType& t) { t.blockAlignment = 2; }) << MediaStatus::InvalidMediaType;
    QTest::newRow("average bytes")
        << with([](MediaType& t) { t.avgBytesPerSecond = 176401; }) << MediaStatus::InvalidMediaType;
    // 0x40000001 x 4 wraps to 4 in 32 bits.
    QTest::newRow("average bytes overflow") << with([](MediaType& t) {
        t.samplesPerSecond = 0x40000001;
        t.avgBytesPerSecond = 4;
    }) << MediaStatus::InvalidMediaType;
}

void TestWavSink::typeSupport()
{
    QFETCH(MediaType, type);
    QFETCH(MediaStatus, expected);

    SinkFixture f;
    QCOMPARE(f.stream->isMediaTypeSupported(type), expected);
    QCOMPARE(f.stream->setCurrentMediaType(type), expected);
    MediaType current;
    QCOMPARE(f.stream->getCurrentMediaType(current),
             failed(expected) ? MediaStatus::NotInitialized : MediaStatus::Ok);
}

void TestWavSink::currentType()
{
    SinkFixture f;
    MajorType major = MajorType::Video;
    QCOMPARE(f.stream->getMajorType(major), MediaStatus::Ok);
    QVERIFY(major == MajorType::Audio);
    MediaType current;
    QCOMPARE(f.stream->getCurrentMediaType(current), MediaStatus::NotInitialized);
    const MediaType type = pcmType(22050, 8, 1);
    QCOMPARE(f.stream->setCurrentMediaType(type), MediaStatus::Ok);
    QCOMPARE(f.stream->getCurrentMediaType(current), MediaStatus::Ok);
    QVERIFY(current == type);
    // Still settable while Ready.
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);
    QCOMPARE(f.stream->getCurrentMediaType(current), MediaStatus::Ok);
    QVERIFY(current == pcmType(44100, 16, 2));
}

void TestWavSink::headerAndData()
{
    SinkFixture f;
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);
    QCOMPARE(f.sink->onClockStart(0, 5000), MediaStatus::Ok);
    std::vector<std::uint8_t> data(1000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i % 251);
    // Written in arrival order; a sample timed before the start is not written.
    QCOMPARE(f.stream->processSample(makeSample({data.begin(), data.begin() + 600}, 5000)), MediaStatus::Ok);
    QCOMPARE(f.stream->processSample(makeSample(std::vector<std::uint8_t>(64, 0xEE), 4999)), MediaStatus::Ok);
    QCOMPARE(f.stream->processSample(makeSample({data.begin() + 600, data.end()})), MediaStatus::Ok);
    QCOMPARE(f.sink->onClockStop(0), MediaStatus::Ok);
    MediaEvent stopped;
    QVERIFY(f.waitFor(MediaEventType::StreamSinkStopped, &stopped));
    QCOMPARE(stopped.status, MediaStatus::Ok);
    QCOMPARE(f.finalize(), MediaStatus::Ok);
    QVERIFY(f.bytes->isClosed());

    const std::vector<std::uint8_t> file = f.bytes->bytes();
    QCOMPARE(file.size(), std::size_t(1046));
    const std::uint8_t expected[46] = {
        'R', 'I', 'F', 'F', 0x0E, 0x04, 0x00, 0x00, 'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 18, 0, 0, 0,
        1, 0, 2, 0, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1, 0x02, 0x00, 4, 0, 16, 0, 0, 0,
        'd', 'a', 't', 'a', 0xE8, 0x03, 0x00, 0x00};
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(file.data()), 46),
             QByteArray(reinterpret_cast<const char*>(expected), 46));
    QVERIFY(std::equal(data.begin(), data.end(), file.begin() + 46));
}

void TestWavSink::markers_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<MediaStatus>("expected");
    QTest::newRow("started") << "start marker" << MediaStatus::Ok;
    QTest::newRow("stopped") << "start stop marker" << MediaStatus::Ok;
    QTest::newRow("paused, then stopped") << "start pause marker stop" << MediaStatus::Abort;
    QTest::newRow("paused, then started") << "start pause marker start" << MediaStatus::Ok;
    QTest::newRow("paused, then flushed") << "start pause marker flush" << MediaStatus::Abort;
    QTest::newRow("ready, then started") << "marker start" << MediaStatus::Ok;
}

void TestWavSink::markers()
{
    QFETCH(QString, steps);
    QFETCH(MediaStatus, expected);

    SinkFixture f;
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);
    // Each clock change is let through the sink's thread before the next step.
    QVector<MediaEvent> seen;
    auto settle = [&](MediaEventType type, int timeoutMs = EventTimeoutMs) {
        MediaEvent event;
        while (f.nextEvent(event, timeoutMs)) {
            seen << event;
            if (event.type == type)
                return true;
        }
        return false;
    };
    for (const QString& step : steps.split(' ')) {
        if (step == "start") {
            QCOMPARE(f.sink->onClockStart(0, 0), MediaStatus::Ok);
            QVERIFY(settle(MediaEventType::StreamSinkStarted));
        } else if (step == "stop") {
            QCOMPARE(f.sink->onClockStop(0), MediaStatus::Ok);
            QVERIFY(settle(MediaEventType::StreamSinkStopped));
        } else if (step == "pause") {
            QCOMPARE(f.sink->onClockPause(0), MediaStatus::Ok);
            QVERIFY(settle(MediaEventType::StreamSinkPaused));
        } else if (step == "flush") {
            QCOMPARE(f.stream->flush(), MediaStatus::Ok);
        } else if (step == "marker") {
            QCOMPARE(f.stream->placeMarker(MarkerType::EndOfSegment, {}, 77), MediaStatus::Ok);
        }
    }
    settle(MediaEventType::Error, QuietMs);

    const auto isMarker = [](const MediaEvent& e) { return e.type == MediaEventType::StreamSinkMarker; };
    QCOMPARE(std::count_if(seen.begin(), seen.end(), isMarker), 1);
    const auto marker = std::find_if(seen.begin(), seen.end(), isMarker);
    QCOMPARE(marker->status, expected);
    QCOMPARE(marker->value, PropValue(77));
    // Dropped on stop: reported before the stop itself.
    if (steps.endsWith("stop"))
        QCOMPARE(std::next(marker)->type, MediaEventType::StreamSinkStopped);
}

void TestWavSink::creationNeedsSeekableWritable_data()
{
    QTest::addColumn<unsigned>("capabilities");
    QTest::addColumn<MediaStatus>("expected");
    QTest::newRow("writable and seekable") << unsigned(ByteStream::Writable | ByteStream::Seekable)
                                           << MediaStatus::Ok;
    QTest::newRow("not seekable") << unsigned(ByteStream::Writable) << MediaStatus::Fail;
    QTest::newRow("not writable") << unsigned(ByteStream::Seekable) << MediaStatus::Fail;
}

void TestWavSink::creationNeedsSeekableWritable()
{
    QFETCH(unsigned, capabilities);
    QFETCH(MediaStatus, expected);

    SinkFixture f(std::make_shared<MemoryByteStream>(capabilities));
    QCOMPARE(f.status, expected);
    QCOMPARE(bool(f.sink), !failed(expected));
}

void TestWavSink::secondFinalizeRefused()
{
    SinkFixture f;
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(48000, 8, 1)), MediaStatus::Ok);
    QCOMPARE(f.sink->endFinalize(), MediaStatus::InvalidRequest);
    QCOMPARE(f.finalize(), MediaStatus::Ok);
    QCOMPARE(f.sink->beginFinalize(nullptr), MediaStatus::InvalidRequest);
    QCOMPARE(f.sink->endFinalize(), MediaStatus::Ok);
    // An empty file is just the header.
    const std::vector<std::uint8_t> file = f.bytes->bytes();
    QCOMPARE(file.size(), std::size_t(46));
    QCOMPARE(file[4], std::uint8_t(38));
    QCOMPARE(file[42], std::uint8_t(0));
}

void TestWavSink::writeFailures()
{
    SinkFixture f(std::make_shared<BrokenByteStream>());
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);
    QCOMPARE(f.sink->onClockStart(0, 0), MediaStatus::Ok);
    QCOMPARE(f.stream->processSample(makeSample({1, 2, 3, 4})), MediaStatus::Ok);
    MediaEvent error;
    QVERIFY(f.waitFor(MediaEventType::Error, &error));
    QCOMPARE(error.status, MediaStatus::IoError);
    QCOMPARE(f.finalize(), MediaStatus::IoError);
}

void TestWavSink::sinkInterface()
{
    SinkFixture f;
    unsigned characteristics = 0;
    QCOMPARE(f.sink->getCharacteristics(characteristics), MediaStatus::Ok);
    QCOMPARE(characteristics, 5u);
    std::uint32_t count = 0;
    QCOMPARE(f.sink->getStreamSinkCount(count), MediaStatus::Ok);
    QCOMPARE(count, 1u);
    CWavStream* stream = nullptr;
    QCOMPARE(f.sink->getStreamSinkByIndex(1, stream), MediaStatus::InvalidIndex);
    QCOMPARE(f.sink->getStreamSinkById(2, stream), MediaStatus::InvalidStreamNumber);
    QCOMPARE(f.sink->getStreamSinkById(1, stream), MediaStatus::Ok);
    QCOMPARE(stream, f.stream);
    QCOMPARE(f.sink->addStreamSink(2, pcmType(44100, 16, 2), stream), MediaStatus::StreamSinksFixed);
    QCOMPARE(f.sink->removeStreamSink(1), MediaStatus::StreamSinksFixed);

    std::uint32_t id = 0;
    QCOMPARE(f.stream->getIdentifier(id), MediaStatus::Ok);
    QCOMPARE(id, 1u);
    CWavSink* owner = nullptr;
    QCOMPARE(f.stream->getMediaSink(owner), MediaStatus::Ok);
    QCOMPARE(owner, f.sink.get());
    CWavStream* handler = nullptr;
    QCOMPARE(f.stream->getMediaTypeHandler(handler), MediaStatus::Ok);
    QCOMPARE(handler, f.stream);
    QCOMPARE(f.sink->onClockSetRate(0, 2.0f), MediaStatus::Ok);
}

void TestWavSink::clockDrivesStream()
{
    SinkFixture f;
    PresentationClock first;
    PresentationClock second;
    PresentationClock* clock = nullptr;
    QCOMPARE(f.sink->getPresentationClock(clock), MediaStatus::NoClock);
    QCOMPARE(f.sink->setPresentationClock(&first), MediaStatus::Ok);
    QCOMPARE(f.sink->setPresentationClock(&second), MediaStatus::Ok);
    QCOMPARE(f.sink->getPresentationClock(clock), MediaStatus::Ok);
    QCOMPARE(clock, &second);
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);

    // The replaced clock no longer reaches the sink: it is not started.
    QCOMPARE(first.start(0), MediaStatus::Ok);
    QCOMPARE(f.stream->processSample(makeSample({1, 2, 3, 4})), MediaStatus::InvalidRequest);
    MediaEvent event;

    QCOMPARE(second.start(0), MediaStatus::Ok);
    QVERIFY(f.nextEvent(event));
    QVERIFY(event.type == MediaEventType::StreamSinkStarted);
    QVERIFY(f.nextEvent(event));
    QVERIFY(event.type == MediaEventType::StreamSinkRequestSample);
    QVERIFY(f.nextEvent(event));
    QVERIFY(event.type == MediaEventType::StreamSinkRequestSample);
    QCOMPARE(f.stream->processSample(makeSample({1, 2, 3, 4})), MediaStatus::Ok);
    QVERIFY(f.nextEvent(event));
    QVERIFY(event.type == MediaEventType::StreamSinkRequestSample);
    QCOMPARE(second.stop(), MediaStatus::Ok);
    QVERIFY(f.nextEvent(event));
    QVERIFY(event.type == MediaEventType::StreamSinkStopped);

    // A shut-down sink leaves the clock.
    QCOMPARE(f.sink->shutdown(), MediaStatus::Ok);
    QCOMPARE(second.start(0), MediaStatus::Ok);
}

void TestWavSink::everythingRefusedAfterShutdown()
{
    SinkFixture f;
    PresentationClock clock;
    QCOMPARE(f.stream->setCurrentMediaType(pcmType(44100, 16, 2)), MediaStatus::Ok);
    QCOMPARE(f.sink->shutdown(), MediaStatus::Ok);

    CWavSink& sink = *f.sink;
    CWavStream& stream = *f.stream;
    unsigned u = 0;
    std::uint32_t n = 0;
    CWavStream* s = nullptr;
    CWavSink* k = nullptr;
    PresentationClock* c = nullptr;
    MediaType t;
    MajorType m;
    MediaEvent e;
    const MediaType type = pcmType(44100, 16, 2);
    const std::vector<std::pair<const char*, std::function<MediaStatus()>>> calls = {
        {"getCharacteristics", [&] { return sink.getCharacteristics(u); }},
        {"addStreamSink", [&] { return sink.addStreamSink(2, type, s); }},
        {"removeStreamSink", [&] { return sink.removeStreamSink(1); }},
        {"getStreamSinkCount", [&] { return sink.getStreamSinkCount(n); }},
        {"getStreamSinkByIndex", [&] { return sink.getStreamSinkByIndex(0, s); }},
        {"getStreamSinkById", [&] { return sink.getStreamSinkById(1, s); }},
        {"setPresentationClock", [&] { return sink.setPresentationClock(&clock); }},
        {"getPresentationClock", [&] { return sink.getPresentationClock(c); }},
        {"shutdown", [&] { return sink.shutdown(); }},
        {"beginFinalize", [&] { return sink.beginFinalize(nullptr); }},
        {"endFinalize", [&] { return sink.endFinalize(); }},
        {"onClockStart", [&] { return sink.onClockStart(0, 0); }},
        {"onClockStop", [&] { return sink.onClockStop(0); }},
        {"onClockPause", [&] { return sink.onClockPause(0); }},
        {"onClockRestart", [&] { return sink.onClockRestart(0); }},
        {"onClockSetRate", [&] { return sink.onClockSetRate(0, 1.0f); }},
        {"getMediaSink", [&] { return stream.getMediaSink(k); }},
        {"getIdentifier", [&] { return stream.getIdentifier(n); }},
        {"getMediaTypeHandler", [&] { return stream.getMediaTypeHandler(s); }},
        {"processSample", [&] { return stream.processSample(makeSample({1, 2})); }},
        {"placeMarker", [&] { return stream.placeMarker(MarkerType::Default, {}, {}); }},
        {"flush", [&] { return stream.flush(); }},
        {"getEvent", [&] { return stream.getEvent(e, false); }},
        {"isMediaTypeSupported", [&] { return stream.isMediaTypeSupported(type); }},
        {"getMediaTypeCount", [&] { return stream.getMediaTypeCount(n); }},
        {"getMediaTypeByIndex", [&] { return stream.getMediaTypeByIndex(0, t); }},
        {"setCurrentMediaType", [&] { return stream.setCurrentMediaType(type); }},
        {"getCurrentMediaType", [&] { return stream.getCurrentMediaType(t); }},
        {"getMajorType", [&] { return stream.getMajorType(m); }},
    };
    for (const auto& call : calls) {
        if (call.second() != MediaStatus::Shutdown)
            QFAIL(call.first);
    }
    // A blocking wait does not hang once shut down.
    QCOMPARE(stream.getEvent(e, true), MediaStatus::Shutdown);
}

QTEST_GUILESS_MAIN(TestWavSink)
#include "tst_wavsink.moc"
