#pragma once

#include <string>

// Decodes the first audio stream of `input` into the PCM WAV file `output`.
// On failure `output` is left as it was and error, when given, tells why; input and
// output naming one file fail.
bool convertFile(const std::string& input, const std::string& output, std::string* error = nullptr);
