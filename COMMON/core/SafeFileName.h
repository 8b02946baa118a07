#pragma once
// User names become parts of file names in the analysis folder, and names
// come from the registry or from an import file. This rule keeps every such
// file inside the user's own folder and valid on any system the folder is
// copied to.
#include <QString>

namespace SafeFileName {
// The text with every character a file name cannot hold, or that would change
// the path, replaced by a full-width look-alike ("/" → "／", "\" → "＼",
// ":" → "：", ...) or, for control characters, by "＿"; a whole text "." or
// ".." becomes "．" or "．．". Other text is returned unchanged.
QString Part(const QString& text);

// Longest file name (bytes, as the file system stores it) the programs create.
constexpr int kMaxNameBytes = 255;
// True when the name fits the file system's limit.
bool Fits(const QString& fileName);
} // namespace SafeFileName
