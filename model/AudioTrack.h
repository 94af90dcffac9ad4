#pragma once

#include <QString>
#include <QtGlobal>

// One music track of a project.
struct AudioTrack
{
    QString fileName;    // the source file
    QString wavFileName; // its WAV conversion; not kept in project documents
    qint64 duration_ms = 0;
};
