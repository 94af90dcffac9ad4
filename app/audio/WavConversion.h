#pragma once

#include <QString>

// Conversion of music files into WAV files in the run's WAV folder, "WavTempDir" inside
// the per-run temporary folder. Converters are looked for in the program folder first,
// then on the PATH, and run with it as their working folder; an empty program folder
// means the running program's own.

// The WAV file made from source: by ty_convert for the codecs it decodes, by ffmpeg for
// the others. The source path itself when it cannot be opened, empty on failure.
// The first conversion of a run sets up the WAV folder and removes WAV files left in it.
QString transcodeToWav(const QString& source, const QString& tempFolder,
                       const QString& programFolder = QString());

// Ends the conversions under way: their converters are ended and waited for; the WAV files
// stay. Conversions started later run as usual.
void endWavConversions();

// Ends the run's conversions: converters still running are ended, the WAV files removed.
// The folder stays; the next conversion starts a new run.
void cleanupWavTempDir();

// Start the converter and wait for it; true when it exited normally with code 0.
bool runConverterProgram(const QString& source, const QString& wav,
                         const QString& programFolder = QString());
bool runFfmpegProgram(const QString& source, const QString& wav,
                      const QString& programFolder = QString());
