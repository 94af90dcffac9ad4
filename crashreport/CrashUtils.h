#pragma once

#include <string>
#include <string_view>

// Small helpers of the crash reporter; texts are UTF-16.

std::string toUtf8(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

std::u16string modulePath();
std::u16string moduleFolder();
std::u16string moduleBaseName();
std::u16string moduleBaseName(std::u16string_view path);
std::u16string productVersion(std::u16string_view path);

enum class SpecialFolder { LocalAppData };
int specialFolder(SpecialFolder id, std::u16string& path);

bool createFolder(std::u16string_view path);
int newGuidText(std::u16string& text);
std::u16string fileNameOf(std::u16string_view path);
bool isSearchPattern(std::u16string_view path);
