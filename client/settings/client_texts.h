// Captions and shared texts of the thin client's message boxes.
#pragma once

namespace veslink {

constexpr const char* kClientCaption = "VESTRA-Nu Thin Client";
constexpr const char* kSettingsCaption = "VESTRA";
constexpr const char* kProductName = "VESTRA-Nu Thin Client";
// The version the client reports to the host (identification replies).
constexpr const char* kClientVersion = "VESTRA Thin Client Version 6.5v1.1";

// Registry keys of the client, below HKEY_CURRENT_USER unless said otherwise.
constexpr const char* kSettingsKey = "Software\\VESTRA\\Settings";
constexpr const char* kTempKey = "Software\\VESTRA\\Temp";
constexpr const char* kScreenSettingsKey = "Software\\VESTRA\\ScreenSettings";
constexpr const char* kInstallKey = "Software\\VESTRA\\Veslink";  // HKEY_LOCAL_MACHINE

}  // namespace veslink
