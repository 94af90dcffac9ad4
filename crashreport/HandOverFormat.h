#pragma once

#include <cstdint>
#include <cstring>

// Layout of the hand-over block that the sender program reads. Integers are little-endian.
namespace HandOver {

constexpr uint32_t kHeaderSize = 220;
constexpr uint32_t kVersion = 1500;
constexpr uint32_t kBlockSize = 0xA00000;
constexpr uint32_t kMaxItemSize = 0xFFFF;

enum HeaderOffset : uint32_t {
    Magic = 0,
    HeaderSizeField = 4,
    BytesInUse = 8,
    FormatVersion = 12,
    FileCount = 16,
    RegKeyCount = 20,
    PropertyCount = 24,
    InstallFlags = 28,
    SmtpPort = 32,
    SmtpProxyPort = 36,
    Priorities = 40,
    MinidumpType = 52,
    ScreenshotWanted = 56,
    ScreenshotFlags = 60,
    JpegQuality = 64,
    UploadUrl = 68,
    AppName = 72,
    AppVersion = 76,
    LanguageFile = 80,
    RestartCommand = 84,
    RestartTimeout = 88,
    MaxReportsPerDay = 92,
    EmailTo = 96,
    CrashId = 100,
    ReportFolder = 104,
    PrivacyPolicyUrl = 108,
    EmailSubject = 112,
    EmailText = 116,
    SmtpProxy = 120,
    DebugHelpFolder = 124,
    CustomIcon = 128,
    ProgramPath = 132,
    ProcessId = 136,
    ThreadId = 140,
    ExceptionType = 144,
    ExceptionCode = 148,
    InvalidParamExpression = 152,
    InvalidParamFunction = 156,
    InvalidParamFile = 160,
    InvalidParamLine = 164,
    FpeSubcode = 168,
    ExceptionPointers = 172,
    SendRecentReports = 176,
    SmtpLogin = 180,
    SmtpPassword = 184,
    VideoWanted = 188,
    VideoParameters = 192,
    VideoOwnerWindow = 212,
    CrashHappened = 216,
};

enum class FieldKind { Unsigned, Signed, Text };

struct HeaderField {
    const char* name;
    uint32_t offset;
    FieldKind kind;
};

// Every header field after the magic and the header size, in the order of the block.
inline constexpr HeaderField kHeaderFields[] = {
    {"bytes_in_use", BytesInUse, FieldKind::Unsigned},
    {"version", FormatVersion, FieldKind::Unsigned},
    {"file_count", FileCount, FieldKind::Unsigned},
    {"reg_key_count", RegKeyCount, FieldKind::Unsigned},
    {"property_count", PropertyCount, FieldKind::Unsigned},
    {"install_flags", InstallFlags, FieldKind::Unsigned},
    {"smtp_port", SmtpPort, FieldKind::Unsigned},
    {"smtp_proxy_port", SmtpProxyPort, FieldKind::Unsigned},
    {"priority_1", Priorities, FieldKind::Signed},
    {"priority_2", Priorities + 4, FieldKind::Signed},
    {"priority_3", Priorities + 8, FieldKind::Signed},
    {"minidump_type", MinidumpType, FieldKind::Unsigned},
    {"screenshot_wanted", ScreenshotWanted, FieldKind::Unsigned},
    {"screenshot_flags", ScreenshotFlags, FieldKind::Unsigned},
    {"jpeg_quality", JpegQuality, FieldKind::Unsigned},
    {"upload_url", UploadUrl, FieldKind::Text},
    {"app_name", AppName, FieldKind::Text},
    {"app_version", AppVersion, FieldKind::Text},
    {"language_file", LanguageFile, FieldKind::Text},
    {"restart_command", RestartCommand, FieldKind::Text},
    {"restart_timeout", RestartTimeout, FieldKind::Signed},
    {"max_reports_per_day", MaxReportsPerDay, FieldKind::Signed},
    {"email_to", EmailTo, FieldKind::Text},
    {"crash_id", CrashId, FieldKind::Text},
    {"report_folder", ReportFolder, FieldKind::Text},
    {"privacy_policy_url", PrivacyPolicyUrl, FieldKind::Text},
    {"email_subject", EmailSubject, FieldKind::Text},
    {"email_text", EmailText, FieldKind::Text},
    {"smtp_proxy", SmtpProxy, FieldKind::Text},
    {"debug_help_folder", DebugHelpFolder, FieldKind::Text},
    {"custom_icon", CustomIcon, FieldKind::Text},
    {"program_path", ProgramPath, FieldKind::Text},
    {"process_id", ProcessId, FieldKind::Unsigned},
    {"thread_id", ThreadId, FieldKind::Unsigned},
    {"exception_type", ExceptionType, FieldKind::Unsigned},
    {"exception_code", ExceptionCode, FieldKind::Unsigned},
    {"invalid_param_expression", InvalidParamExpression, FieldKind::Text},
    {"invalid_param_function", InvalidParamFunction, FieldKind::Text},
    {"invalid_param_file", InvalidParamFile, FieldKind::Text},
    {"invalid_param_line", InvalidParamLine, FieldKind::Unsigned},
    {"fpe_subcode", FpeSubcode, FieldKind::Unsigned},
    {"exception_pointers", ExceptionPointers, FieldKind::Unsigned},
    {"send_recent_reports", SendRecentReports, FieldKind::Unsigned},
    {"smtp_login", SmtpLogin, FieldKind::Text},
    {"smtp_password", SmtpPassword, FieldKind::Text},
    {"video_wanted", VideoWanted, FieldKind::Unsigned},
    {"video_flags", VideoParameters, FieldKind::Unsigned},
    {"video_duration", VideoParameters + 4, FieldKind::Unsigned},
    {"video_frame_interval", VideoParameters + 8, FieldKind::Unsigned},
    {"video_frame_width", VideoParameters + 12, FieldKind::Unsigned},
    {"video_frame_height", VideoParameters + 16, FieldKind::Unsigned},
    {"video_owner_window", VideoOwnerWindow, FieldKind::Unsigned},
    {"crash_happened", CrashHappened, FieldKind::Unsigned},
};

// Items: three letters and a zero byte, then a 16-bit size covering the item and its texts.
constexpr uint32_t kItemSizeOffset = 4;
constexpr uint32_t kStringFixedSize = 6;
constexpr uint32_t kFileFixedSize = 28;
constexpr uint32_t kPropertyFixedSize = 16;
constexpr uint32_t kRegKeyFixedSize = 20;

enum FileField : uint32_t { FileSource = 8, FileDestination = 12, FileDescription = 16, FileMakeCopy = 20, FileMayDelete = 24 };
enum PropertyField : uint32_t { PropertyName = 8, PropertyValue = 12 };
enum RegKeyField : uint32_t { RegKeyFlag = 8, RegKeyKey = 12, RegKeyDestination = 16 };

inline uint32_t readU32(const unsigned char* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

inline uint16_t readU16(const unsigned char* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

inline void writeU32(unsigned char* at, uint32_t value)
{
    const unsigned char bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    std::memcpy(at, bytes, sizeof bytes);
}

inline void writeU16(unsigned char* at, uint16_t value)
{
    const unsigned char bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
    std::memcpy(at, bytes, sizeof bytes);
}

} // namespace HandOver
