#pragma once

#include <cstdint>
#include <map>
#include <string>

// The crash handler's settings once the defaults are applied.
struct CrashSettings {
    std::u16string appName;
    std::u16string appVersion;
    std::u16string programPath;
    uint32_t flags = 0;
    uint32_t minidumpType = 0;
    std::u16string restartCommand;
    int32_t restartTimeout = 60;
    int32_t maxReportsPerDay = 0;
    std::u16string url;
    std::u16string emailTo;
    uint32_t emailPort = 25;
    std::u16string smtpProxy;
    uint32_t smtpProxyPort = 25;
    std::u16string smtpLogin;
    std::u16string smtpPassword;
    std::u16string emailSubject;
    std::u16string emailText;
    int32_t priorities[3] = {0, 0, 0};
    std::u16string privacyPolicyUrl;
    std::u16string senderPath;
    std::u16string languageFile;
    std::u16string debugHelpFolder;
    std::u16string reportFolder;
    std::u16string customIcon;
};

struct ReportFile {
    std::u16string sourcePath;
    std::u16string description;
    bool makeCopy = false;
    bool mayDelete = false;
};

struct ReportRegistryKey {
    std::u16string destination;
    uint8_t flag = 0;
};

struct ScreenshotRequest {
    bool wanted = false;
    uint32_t flags = 0;
    int32_t jpegQuality = 95;
};

// What a report carries besides the settings; each table is ordered by its key.
struct ReportContents {
    std::map<std::u16string, ReportFile> files;                 // by destination name
    std::map<std::u16string, std::u16string> properties;        // by name
    std::map<std::u16string, ReportRegistryKey> registryKeys;   // by key
    ScreenshotRequest screenshot;
};
