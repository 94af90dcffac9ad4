#include "CrashUtils.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += char16_t(c);
        return;
    }
    c -= 0x10000;
    out += char16_t(0xD800 + (c >> 10));
    out += char16_t(0xDC00 + (c & 0x3FF));
}

// Length of a UTF-8 sequence by its lead byte, 0 for a byte that cannot lead one.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead < 0xE0)
        return 2;
    if (lead >= 0xE0 && lead < 0xF0)
        return 3;
    if (lead >= 0xF0 && lead < 0xF5)
        return 4;
    return 0;
}

char32_t decodeSequence(std::string_view text, size_t pos, int length)
{
    static const unsigned char leadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t c = static_cast<unsigned char>(text[pos]) & leadMask[length];
    for (int i = 1; i < length; ++i) {
        const unsigned char b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (b & 0x3F);
    }
    const bool surrogate = c >= 0xD800 && c < 0xE000;
    if (c < minimum[length] || c > 0x10FFFF || surrogate)
        return kReplacement;
    return c;
}

bool isFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        const bool low = c >= 0xDC00 && c < 0xE000;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, high || low ? kReplacement : char32_t(c));
        }
    }
    return out;
}

std::u16string toUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const int length = sequenceLength(static_cast<unsigned char>(text[pos]));
        if (length == 0 || pos + length > text.size()) {
            appendUtf16(out, kReplacement);
            ++pos;
            continue;
        }
        const char32_t c = decodeSequence(text, pos, length);
        appendUtf16(out, c);
        pos += c == kReplacement ? 1 : length;
    }
    return out;
}

std::u16string modulePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || size_t(length) >= sizeof buffer)
        return {};
    return toUtf16(std::string_view(buffer, size_t(length)));
}

std::u16string moduleFolder()
{
    const std::u16string path = modulePath();
    const size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

std::u16string moduleBaseName()
{
    return moduleBaseName(modulePath());
}

std::u16string moduleBaseName(std::u16string_view path)
{
    const std::u16string name = fileNameOf(path);
    return name.substr(0, name.find(u'.'));
}

std::u16string productVersion(std::u16string_view)
{
    // Program files here carry no version record.
    return {};
}

int specialFolder(SpecialFolder id, std::u16string& path)
{
    if (id != SpecialFolder::LocalAppData)
        return 1;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::u16string folder;
    if (dataHome && dataHome[0] == '/') {
        folder = toUtf16(dataHome);
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return 1;
        folder = toUtf16(home) + u"/.local/share";
    }
    if (!createFolder(folder))
        return 1;
    path = folder;
    return 0;
}

bool createFolder(std::u16string_view path)
{
    const std::string target = toUtf8(path);
    if (target.empty())
        return false;
    size_t end = 0;
    while (end != std::string::npos) {
        end = target.find('/', end + 1);
        const std::string level = target.substr(0, end);
        if (level.empty() || isFolder(level))
            continue;
        if (::mkdir(level.c_str(), 0777) != 0 && !(errno == EEXIST && isFolder(level)))
            return false;
    }
    return true;
}

int newGuidText(std::u16string& text)
{
    unsigned char bytes[16];
    if (::getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes))
        return 1;
    bytes[6] = (bytes[6] & 0x0F) | 0x40;
    bytes[8] = (bytes[8] & 0x3F) | 0x80;
    static const char16_t digits[] = u"0123456789abcdef";
    std::u16string guid;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            guid += u'-';
        guid += digits[bytes[i] >> 4];
        guid += digits[bytes[i] & 0x0F];
    }
    text = guid;
    return 0;
}

std::u16string fileNameOf(std::u16string_view path)
{
    const size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

bool isSearchPattern(std::u16string_view path)
{
    constexpr std::u16string_view longPrefix = u"\\\\?\\";
    if (path.substr(0, longPrefix.size()) == longPrefix)
        path.remove_prefix(longPrefix.size());
    return path.find_first_of(u"*?") != std::u16string_view::npos;
}
