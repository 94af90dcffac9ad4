#pragma once

extern "C" {
#include <libavutil/error.h>
}

#include <string>

// The text av_err2str gives for an FFmpeg error code.
inline std::string avErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_make_error_string(text, sizeof text, code);
    return text;
}
