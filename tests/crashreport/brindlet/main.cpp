// A minimal crash-report sender for the tests: takes the hand-over block over, sets the crash event
// and writes the report's description with copies of its files.
// BRINDLET_NO_POST=1 makes it end without setting the event.

#include "crashreport/CrashNames.h"
#include "crashreport/CrashUtils.h"
#include "crashreport/HandOverFormat.h"
#include "crashreport/HandOverReader.h"
#include "crashreport/NamedEvent.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace HandOver;

namespace {

enum ExitCode { Done = 0, BadArguments = 2, NoBlock = 3, CorruptBlock = 4, NoEvent = 5, NoDescription = 6 };

// Copies the used part of the named block, so that the crashed process may end.
bool copyBlock(const char* name, std::vector<unsigned char>& copy)
{
    const int fd = ::shm_open(sharedMemoryName(toUtf16(name)).c_str(), O_RDONLY, 0);
    if (fd < 0)
        return false;
    struct stat st;
    void* mapping = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && st.st_size >= off_t(kHeaderSize))
        mapping = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapping == MAP_FAILED)
        return false;
    const auto* data = static_cast<const unsigned char*>(mapping);
    const uint32_t used = readU32(data + BytesInUse);
    const bool sound = used >= kHeaderSize && used <= uint64_t(st.st_size);
    if (sound)
        copy.assign(data, data + used);
    ::munmap(mapping, size_t(st.st_size));
    return sound;
}

std::string quoted(std::u16string_view text)
{
    std::string out = "\"";
    for (const char c : toUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string flag(bool value)
{
    return value ? "true" : "false";
}

std::string headerValue(const HandOverReader& reader, const HeaderField& field)
{
    const uint32_t value = reader.number(field.offset);
    switch (field.kind) {
    case FieldKind::Text: {
        const auto text = reader.text(field.offset);
        return text ? quoted(*text) : "null";
    }
    case FieldKind::Signed:
        return std::to_string(int32_t(value));
    case FieldKind::Unsigned:
        break;
    }
    return std::to_string(value);
}

std::string description(const HandOverReader& reader)
{
    std::string json = "{\n  \"header\": {";
    const char* separator = "\n";
    for (const HeaderField& field : kHeaderFields) {
        json += separator + std::string("    \"") + field.name + "\": " + headerValue(reader, field);
        separator = ",\n";
    }
    json += "\n  },\n  \"files\": [";
    separator = "\n";
    for (const auto& file : reader.files()) {
        json += separator + std::string("    {\"source\": ") + quoted(file.source)
            + ", \"destination\": " + quoted(file.destination) + ", \"description\": " + quoted(file.description)
            + ", \"make_copy\": " + flag(file.makeCopy) + ", \"may_delete\": " + flag(file.mayDelete) + "}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"properties\": [";
    separator = "\n";
    for (const auto& property : reader.properties()) {
        json += separator + std::string("    {\"name\": ") + quoted(property.name)
            + ", \"value\": " + quoted(property.value) + "}";
        separator = ",\n";
    }
    json += "\n  ],\n  \"registry_keys\": [";
    separator = "\n";
    for (const auto& key : reader.registryKeys()) {
        json += separator + std::string("    {\"key\": ") + quoted(key.key) + ", \"destination\": "
            + quoted(key.destination) + ", \"flag\": " + std::to_string(key.flag) + "}";
        separator = ",\n";
    }
    return json + "\n  ]\n}\n";
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Writes under a temporary name first, so that a reader never sees half a file.
bool writeFile(const std::string& path, const std::string& contents)
{
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, contents.data(), contents.size());
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string safeFileName(std::u16string_view destination)
{
    std::string name = toUtf8(destination);
    for (size_t at; (at = name.find('/')) != std::string::npos;)
        name.erase(at, 1);
    for (size_t at; (at = name.find("..")) != std::string::npos;)
        name.erase(at, 2);
    return name;
}

// Regular files only: a pipe would block the copy.
bool copyFile(const std::u16string& source, const std::string& target)
{
    const int fd = ::open(toUtf8(source).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    std::string contents;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[65536];
    for (ssize_t got; ok && (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        ok = got > 0;
        if (ok)
            contents.append(buffer, size_t(got));
    }
    ::close(fd);
    return ok && writeFile(target, contents);
}

void copyFiles(const HandOverReader& reader, const std::string& folder)
{
    for (const auto& file : reader.files()) {
        const std::string name = safeFileName(file.destination);
        if (!file.makeCopy || name.empty())
            continue;
        if (!copyFile(file.source, folder + "/" + name))
            std::fprintf(stderr, "Brindlet: could not copy %s\n", toUtf8(file.source).c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return BadArguments;
    std::vector<unsigned char> block;
    if (!copyBlock(argv[1], block))
        return NoBlock;
    HandOverReader reader;
    if (!reader.read(block.data(), block.size())) {
        std::fprintf(stderr, "Brindlet: %s\n", reader.error().c_str());
        return CorruptBlock;
    }
    const auto crashId = reader.text(CrashId);
    const auto reportFolder = reader.text(ReportFolder);
    if (!crashId || crashId->empty() || !reportFolder || reportFolder->substr(0, 1) != u"/")
        return CorruptBlock;
    const char* noPost = std::getenv("BRINDLET_NO_POST");
    const bool post = !(noPost && std::string(noPost) == "1");
    if (post && !NamedEvent::set(crashEventName(*crashId)))
        return NoEvent;
    const std::u16string folder = *reportFolder + u"/" + toUtf16(safeFileName(*crashId));
    if (!createFolder(folder) || !writeFile(toUtf8(folder) + "/description.json", description(reader)))
        return NoDescription;
    copyFiles(reader, toUtf8(folder));
    return Done;
}
