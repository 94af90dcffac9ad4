#pragma once

#include "convert/FileByteStream.h"

#include <string>

// A file written under a temporary name beside its destination; only a committed
// file takes the destination's name, so a failed run leaves nothing partial there.
class OutputFile
{
public:
    explicit OutputFile(std::string path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; null on failure.
    std::shared_ptr<FileByteStream> create();
    // Moves the written file to the destination, replacing what is there.
    bool commit();

private:
    std::string m_path;
    std::string m_tempPath;
};
