#include <QtTest>

#include "helper/AudioFileInfo.h"
#include "helper/EncodeUtil.h"

// The pure parts of the sound-track runs: arguments, texts and list files.
class TestEncodeUtil : public QObject
{
    Q_OBJECT

private slots:
    void audioCodecArgs_data();
    void audioCodecArgs();
    void lengthText_data();
    void lengthText();
    void delayAndFadeFilter_data();
    void delayAndFadeFilter();
    void concatList_data();
    void concatList();
    void arguments_data();
    void arguments();
    void probeOutput_data();
    void probeOutput();
};

void TestEncodeUtil::audioCodecArgs_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("expected");

    const QStringList vorbis{"-c:a", "vorbis", "-ar", "44100", "-strict", "-2"};
    const QStringList mp3{"-c:a", "libmp3lame"};
    QTest::newRow("webm") << "/v/out.webm" << vorbis;
    QTest::newRow("WEBM") << "/v/out.WEBM" << vorbis;
    QTest::newRow("mp4") << "/v/out.mp4" << mp3;
    QTest::newRow("upper-case MP4") << "/v/out.MP4" << mp3;
    QTest::newRow("avi") << "/v/out.avi" << mp3;
    QTest::newRow("mov") << "/v/out.mov" << mp3;
    QTest::newRow("wmv") << "/v/out.wmv" << QStringList{"-c:a", "wmav2"};
    QTest::newRow("mkv") << "/v/out.mkv" << QStringList();
    QTest::newRow("wav") << "/v/out.wav" << QStringList();
    QTest::newRow("no extension") << "/v.mp4/out" << QStringList();
}

void TestEncodeUtil::audioCodecArgs()
{
    QFETCH(QString, output);
    QFETCH(QStringList, expected);
    QStringList arguments{"-i", "x"};
    EncodeUtil::audioCodecArgs(arguments, output);
    QCOMPARE(arguments, QStringList({"-i", "x"}) + expected);
}

void TestEncodeUtil::lengthText_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("expected");
    QTest::newRow("61050") << 61050 << "61.050";
    QTest::newRow("61250") << 61250 << "61.250";
    QTest::newRow("61000") << 61000 << "61";
    QTest::newRow("61005") << 61005 << "61.005";
    QTest::newRow("999") << 999 << "0.999";
    QTest::newRow("0") << 0 << "0";
}

void TestEncodeUtil::lengthText()
{
    QFETCH(int, ms);
    QFETCH(QString, expected);
    QCOMPARE(EncodeUtil::lengthText(ms), expected);
}

void TestEncodeUtil::delayAndFadeFilter_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("fade");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << 60 << 0 << 0 << "";
    QTest::newRow("skip only") << 60 << 0 << -5 << "";
    QTest::newRow("delay 5") << 60 << 0 << 5 << "adelay=delays=5s:all=1";
    QTest::newRow("fade 3") << 60 << 3 << 0 << "afade=t=in:st=0s:d=3,afade=t=out:st=57:d=3";
    QTest::newRow("fade 3, delay 5")
        << 60 << 3 << 5 << "adelay=delays=5s:all=1,afade=t=in:st=5s:d=3,afade=t=out:st=57:d=3";
    QTest::newRow("fade 3, skip 5") << 60 << 3 << -5 << "afade=t=in:st=0s:d=3,afade=t=out:st=57:d=3";
    QTest::newRow("fade longer than the show")
        << 4 << 5 << 2 << "adelay=delays=2s:all=1,afade=t=in:st=2s:d=5,afade=t=out:st=0:d=5";
}

void TestEncodeUtil::delayAndFadeFilter()
{
    QFETCH(int, length);
    QFETCH(int, fade);
    QFETCH(int, offset);
    QFETCH(QString, expected);
    QCOMPARE(EncodeUtil::delayAndFadeFilter(length, fade, offset), expected);
}

void TestEncodeUtil::concatList_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    QTest::newRow("below the folder")
        << "/c/work" << QStringList{"/c/work/WavTempDir/file_0.wav", "/c/work/a.wav"}
        << "file 'WavTempDir/file_0.wav'\nfile 'a.wav'\n";
    QTest::newRow("folder with a trailing slash")
        << "/c/work/" << QStringList{"/c/work/a.wav"} << "file 'a.wav'\n";
    QTest::newRow("unclean path") << "/c/work" << QStringList{"/c/work/x/../a.wav"} << "file 'a.wav'\n";
    QTest::newRow("outside the folder") << "/c/work" << QStringList{"/music/a.wav"}
                                        << "file '/music/a.wav'\n";
    QTest::newRow("sibling with the same prefix")
        << "/c/work" << QStringList{"/c/workshop/a.wav"} << "file '/c/workshop/a.wav'\n";
    QTest::newRow("case differs") << "/c/work" << QStringList{"/c/Work/a.wav"}
                                  << "file '/c/Work/a.wav'\n";
    QTest::newRow("apostrophes") << "/c/work" << QStringList{"/c/work/it's.wav", "/m/'a'.wav"}
                                 << "file 'it'\\''s.wav'\nfile '/m/'\\''a'\\''.wav'\n";
    QTest::newRow("spaces and backslashes")
        << "/c/work" << QStringList{"/c/work/a b\\c.wav"} << "file 'a b\\c.wav'\n";
    QTest::newRow("failed track left out")
        << "/c/work" << QStringList{"/c/work/a.wav", "", "/c/work/b.wav"}
        << "file 'a.wav'\nfile 'b.wav'\n";
    QTest::newRow("nothing left") << "/c/work" << QStringList{""} << "";
    QTest::newRow("line break left out")
        << "/c/work" << QStringList{"/c/work/a\nfile '/etc/passwd.wav", "/c/work/b\r.wav", "/c/work/c.wav"}
        << "file 'c.wav'\n";
    // These would be misread when resolved against the list's path.
    QTest::newRow("percent sign") << "/c/work" << QStringList{"/c/work/a%20b.wav"}
                                  << "file '/c/work/a%20b.wav'\n";
    QTest::newRow("colon") << "/c/work" << QStringList{"/c/work/x:y/a.wav"}
                           << "file '/c/work/x:y/a.wav'\n";
    QTest::newRow("question mark in the folder")
        << "/c/w?rk" << QStringList{"/c/w?rk/a.wav"} << "file '/c/w?rk/a.wav'\n";
    QTest::newRow("hash in the folder") << "/c/w#rk" << QStringList{"/c/w#rk/a.wav"}
                                        << "file '/c/w#rk/a.wav'\n";
}

void TestEncodeUtil::concatList()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QCOMPARE(EncodeUtil::concatList(files, folder), expected);
}

void TestEncodeUtil::arguments_data()
{
    QTest::addColumn<QStringList>("actual");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("mux")
        << EncodeUtil::muxArguments("/o/out.mp4", "/w/videostream.mp4", "/w/video/a.wav", 61000, 1)
        << QStringList{"-i", "/w/videostream.mp4", "-i", "/w/video/a.wav", "-c:a", "libmp3lame",
                       "-c:v", "copy", "-y", "-t", "61", "/o/out.mp4"};
    QTest::newRow("mux, 3 loops, no sound")
        << EncodeUtil::muxArguments("/o/out.mkv", "/w/videostream.mkv", "", 30000, 3)
        << QStringList{"-stream_loop", "2", "-i", "/w/videostream.mkv", "-c:v", "copy", "-y", "-t",
                       "30", "/o/out.mkv"};
    QTest::newRow("mux, relative paths made absolute")
        << EncodeUtil::muxArguments("-out.wmv", "v.wmv", "a:b.wav", 10500, 0)
        << QStringList{"-i", QDir::currentPath() + "/v.wmv", "-i", QDir::currentPath() + "/a:b.wav",
                       "-c:a", "wmav2", "-c:v", "copy", "-y", "-t", "10.500",
                       QDir::currentPath() + "/-out.wmv"};
    QTest::newRow("concat, cut to the length")
        << EncodeUtil::concatArguments("/c/merge-files.txt", "/w/audio.wav", 61050)
        << QStringList{"-f", "concat", "-safe", "0", "-i", "/c/merge-files.txt", "-t", "61.050",
                       "-y", "/w/audio.wav"};
    QTest::newRow("loop concat, cut to the length")
        << EncodeUtil::loopConcatArguments("/c/merge-loop-audio.txt", "/w/video/looped.wav", 50000)
        << QStringList{"-safe", "0", "-f", "concat", "-i", "/c/merge-loop-audio.txt", "-c", "copy",
                       "-t", "50", "/w/video/looped.wav"};
    QTest::newRow("cut") << EncodeUtil::cutArguments("/w/audio.wav", 0, 61050, "/w/video/n.wav")
                         << QStringList{"-t", "61.050", "-i", "/w/audio.wav", "-y", "/w/video/n.wav"};
    QTest::newRow("cut, offset of the lowest int")
        << EncodeUtil::cutArguments("/w/audio.wav", INT_MIN, 9223372036854775807LL, "/w/video/n.wav")
        << QStringList{"-ss", "2147483648", "-t", "9223372036854775.807", "-i", "/w/audio.wav", "-y",
                       "/w/video/n.wav"};
    QTest::newRow("cut, offset -5")
        << EncodeUtil::cutArguments("/w/audio.wav", -5, 61000, "/w/video/n.wav")
        << QStringList{"-ss", "5", "-t", "61", "-i", "/w/audio.wav", "-y", "/w/video/n.wav"};
    QTest::newRow("cut, offset 5")
        << EncodeUtil::cutArguments("/w/audio.wav", 5, 1000, "/w/video/n.wav")
        << QStringList{"-t", "1", "-i", "/w/audio.wav", "-y", "/w/video/n.wav"};
    QTest::newRow("filter") << EncodeUtil::filterArguments("/w/a.wav", "adelay=delays=5s:all=1", 61050, "/w/o.wav")
                            << QStringList{"-i", "/w/a.wav", "-filter_complex", "adelay=delays=5s:all=1",
                                           "-t", "61.050", "-y", "/w/o.wav"};
    QTest::newRow("transcode") << EncodeUtil::transcodeArguments("/m/it's.mp3", "/c/file_0.wav")
                               << QStringList{"-i", "/m/it's.mp3", "-ac", "2", "-ar", "44100",
                                              "/c/file_0.wav"};
    QTest::newRow("converter") << EncodeUtil::converterArguments("/m/a b.m4a", "/c/file_0.wav")
                               << QStringList{"/m/a b.m4a", "/c/file_0.wav"};
    QTest::newRow("probe") << AudioFileInfo::probeArguments("/m/\"a\" $(b).mp3")
                           << QStringList{"-i", "/m/\"a\" $(b).mp3"};
}

void TestEncodeUtil::arguments()
{
    QFETCH(QStringList, actual);
    QFETCH(QStringList, expected);
    QCOMPARE(actual, expected);
}

void TestEncodeUtil::probeOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<int>("rate");

    QTest::newRow("stereo")
        << "ffmpeg version 5.1\r\n  libavutil      57. 28.100 / 57. 28.100\r\n"
           "Guessed Channel Layout for Input Stream #0.0 : stereo\n"
           "Input #0, wav, from '/m/a.wav':\n  Metadata:\n    encoder         : Lavf59.27.100\n"
           "  Duration: 00:00:02.00, bitrate: 1411 kb/s\n"
           "  Stream #0:0: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 44100 Hz, stereo, s16, 1411 kb/s\n"
           "At least one output file must be specified\n"
        << qint64(2000) << true << 44100;
    QTest::newRow("mono, hours, fraction in milliseconds")
        << "Input #0, mp3, from '/m/a.mp3':\n  Duration: 01:02:03.99, start: 0.025057, bitrate: 128 kb/s\n"
           "  Stream #0:0: Audio: mp3, 44100 Hz, mono, fltp, 128 kb/s\n"
        << qint64(3723990) << false << 44100;
    QTest::newRow("stream in lower case")
        << "  Duration: 00:01:00.00, bitrate: 1 kb/s\n  stream #0:0: Audio: aac, 48000 Hz, stereo\n"
        << qint64(60000) << true << 48000;
    QTest::newRow("Stereo in other case")
        << "  Duration: 00:00:00.6,\n  Stream #0:0: Audio: aac, 48000 Hz, Stereo\n" << qint64(600) << false << 48000;
    QTest::newRow("stereo outside a stream line")
        << "  Duration: 00:00:05.00,\n  title : stereo mix\n  Stream #0:0: Audio: aac, 48000 Hz, 5.1\n"
        << qint64(5000) << false << 48000;
    QTest::newRow("no duration") << "Duration: N/A, start: 0.000000, bitrate: N/A\n" << qint64(0) << false << 0;
    QTest::newRow("missing file") << "/m/a.wav: No such file or directory\n" << qint64(0) << false << 0;
    QTest::newRow("nothing") << "" << qint64(0) << false << 0;
}

void TestEncodeUtil::probeOutput()
{
    QFETCH(QString, output);
    QFETCH(qint64, duration);
    QFETCH(bool, stereo);
    QFETCH(int, rate);
    const AudioFileInfo info = AudioFileInfo::fromProbeOutput("/m/a.wav", output);
    QCOMPARE(info.path(), QString("/m/a.wav"));
    QCOMPARE(info.durationMs(), duration);
    QCOMPARE(info.isStereo(), stereo);
    QCOMPARE(info.sampleRate(), rate);
}

QTEST_GUILESS_MAIN(TestEncodeUtil)
#include "tst_encodeutil.moc"
