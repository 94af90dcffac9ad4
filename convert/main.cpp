#include "convert/ConvertFile.h"

extern "C" {
#include <libavutil/log.h>
}

// ty_convert <input file> <output WAV file>
int main(int argc, char** argv)
{
    if (argc != 3)
        return -1;
    av_log_set_level(AV_LOG_QUIET);
    return convertFile(argv[1], argv[2]) ? 0 : 1;
}
