#include "convert/ConvertFile.h"

#include "convert/AudioSource.h"
#include "convert/ConvertSession.h"
#include "convert/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace {

// Same device and inode, or the same path once links and dots are resolved.
bool sameFile(const std::string& a, const std::string& b)
{
    struct stat first {}, second {};
    if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code error;
    const auto canonicalA = std::filesystem::weakly_canonical(a, error);
    if (error)
        return false;
    const auto canonicalB = std::filesystem::weakly_canonical(b, error);
    return !error && canonicalA == canonicalB;
}

bool failWith(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool convertFile(const std::string& input, const std::string& output, std::string* error)
{
    const std::string quoted = "\"" + output + "\"";
    // The WAV would take the place of its own source.
    if (sameFile(input, output))
        return failWith(error, quoted + " is the source itself");
    AudioSource source;
    if (!source.open(input))
        return failWith(error, source.errorText());
    OutputFile file(output);
    std::shared_ptr<FileByteStream> byteStream = file.create();
    if (!byteStream)
        return failWith(error, "Cannot create " + quoted + ": " + std::strerror(errno));
    std::unique_ptr<CWavSink> sink;
    if (failed(CWavSink::create(byteStream, sink)))
        return failWith(error, "Cannot write " + quoted);
    if (!ConvertSession(source, *sink).run())
        return failWith(error, source.errorText().empty() ? "Cannot write " + quoted : source.errorText());
    if (!file.commit())
        return failWith(error, "Cannot replace " + quoted + ": " + std::strerror(errno));
    return true;
}
