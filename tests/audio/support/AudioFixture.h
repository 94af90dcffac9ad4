#pragma once

#include <QString>

// Music files and stand-in programs for the audio tests.
namespace AudioFixture {

// A 440 Hz tone at 44.1 kHz made with ffmpeg; the extension picks the format
// ("mp3", "m4a", "ogg", "flac", "wav").
bool makeTone(const QString& path, double seconds);
// An executable shell script with the given body.
bool writeProgram(const QString& path, const QString& body);

} // namespace AudioFixture
