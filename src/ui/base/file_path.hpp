#pragma once

#include <QString>

#include <filesystem>

namespace hw {

/// The path named by `text`, every character kept: UTF-16 on Windows, the
/// file-name encoding Qt uses (UTF-8) elsewhere.
std::filesystem::path toFilesystemPath(const QString &text);

/// The text of `path`, the inverse of toFilesystemPath.
QString fromFilesystemPath(const std::filesystem::path &path);

} // namespace hw
