#include "convert/ConvertFile.h"

extern "C" {
#include <libavutil/log.h>
}

#include <iostream>

// ty_convert <input file> <output WAV file>
// Prints nothing but the reason of a failure, as one line on standard error.
int main(int argc, char** argv)
{
    if (argc != 3)
        return -1;
    av_log_set_level(AV_LOG_QUIET);
    std::string error;
    if (convertFile(argv[1], argv[2], &error))
        return 0;
    std::cerr << error << std::endl;
    return 1;
}
