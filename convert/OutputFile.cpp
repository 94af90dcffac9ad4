#include "convert/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int NameAttempts = 100;

} // namespace

OutputFile::OutputFile(std::string path)
    : m_path(std::move(path))
{
}

OutputFile::~OutputFile()
{
    if (!m_tempPath.empty())
        unlink(m_tempPath.c_str());
}

std::shared_ptr<FileByteStream> OutputFile::create()
{
    const std::string stem = m_path + ".part" + std::to_string(getpid()) + "-";
    for (int i = 0; i < NameAttempts; ++i) {
        const std::string name = stem + std::to_string(i);
        if (auto stream = FileByteStream::createNew(name)) {
            m_tempPath = name;
            return stream;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool OutputFile::commit()
{
    if (m_tempPath.empty() || std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        return false;
    m_tempPath.clear();
    return true;
}
