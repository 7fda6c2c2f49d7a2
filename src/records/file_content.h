// Telling a record file from what is not one: folders, empty files, binary files, prose.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace records {

// The formats the readers understand, in words, for messages.
extern const char* const kFormatsRead;

// The lines of a record file; an Error saying what the path is instead (a folder, an empty file,
// an image or archive, other binary data) and what to give.
std::vector<std::string> recordFileLines(const std::string& path);

// What kind of binary file the first bytes announce ("a PNG image", "a ZIP archive", ...), the
// words "binary data" for other non-text content, or nullopt for text.
std::optional<std::string> binaryKind(const std::string& bytes);

// For files in no agency format: an Error saying no accelerations were found when the file is
// prose rather than a table, that is when fewer than half of its lines (blank lines and '#' or
// '%' comments aside) are made of numbers only, as the sample lines of a table are.
void expectTableOfNumbers(const std::string& path, const std::vector<std::string>& lines);

}  // namespace records
