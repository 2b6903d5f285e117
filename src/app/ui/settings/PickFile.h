#pragma once

#include <string>

class AppPaths;
class FilePicker;
class QLineEdit;

// The file filters of the settings dialog's pick buttons.
inline constexpr const char* kWaveFilter = "(*.wav)";
inline constexpr const char* kPictureFilter = "Pics (*.bmp *.jpg *.png *.gif)";
inline constexpr const char* kBackupFilter = "(*.ibk)";

/// Lets the user pick a file for the field, starting where the field's path points (a relative
/// path counts from the data folder). The path goes into the field as picked; cancelling
/// leaves the field alone.
void pickFileInto(QLineEdit* field, FilePicker& files, const AppPaths& paths,
                  const std::string& filter);
