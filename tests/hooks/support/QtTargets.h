#pragma once

#include <QByteArray>
#include <QVector>

// The four Qt functions that the application may replace, by library and mangled name.
struct QtTarget
{
    const char* name;
    const char* library;
    const char* symbol;

    void* address() const;
};

QVector<QtTarget> qtTargets();
const QtTarget& qtTarget(const char* name);

// The bytes at a mapped address as the file behind its mapping holds them; empty when the
// mapping has no file.
QByteArray fileBytes(const void* address, int size);
QByteArray memoryBytes(const void* address, int size);
