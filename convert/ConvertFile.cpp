#include "convert/ConvertFile.h"

#include "convert/AudioSource.h"
#include "convert/ConvertSession.h"
#include "convert/OutputFile.h"

bool convertFile(const std::string& input, const std::string& output)
{
    AudioSource source;
    if (!source.open(input))
        return false;
    OutputFile file(output);
    std::shared_ptr<FileByteStream> byteStream = file.create();
    std::unique_ptr<CWavSink> sink;
    if (!byteStream || failed(CWavSink::create(byteStream, sink)))
        return false;
    return ConvertSession(source, *sink).run() && file.commit();
}
