#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/Result.h"
#include "core/recognition/ButtonTemplates.h"

namespace quillon {

// The button templates of a remote live beside its remote data file, in a text file of the
// same base name with the extension ".irt" (docs/recognition.md gives the format).
inline constexpr std::string_view TemplateFileExtension = ".irt";
inline constexpr std::string_view TemplateFileHeader = "Quillon button templates 1";

std::filesystem::path CompanionPath(const std::filesystem::path& remoteFile);

// The file's text for `templates`.
std::string WriteTemplates(const RemoteTemplates& templates);

// Reads the text of a template file; anything that is not the format is an error naming the
// line and what is wrong. The templates come prepared (PrepareTemplates).
Result<RemoteTemplates> ReadTemplates(std::string_view text);

// A missing file gives no templates and no error; an unreadable or corrupt one is an error
// that names the file.
Result<RemoteTemplates> LoadTemplateFile(const std::filesystem::path& path);

// Writes `templates` atomically; with no templates, removes the file, so no file of an earlier
// remote stays beside a new one.
Result<Done> SaveTemplateFile(const std::filesystem::path& path, const RemoteTemplates& templates);

}  // namespace quillon
