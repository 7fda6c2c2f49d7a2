// What is not a record file says so: folders, empty files, binary files, prose.
#include "records/file_content.h"

#include <gtest/gtest.h>

#include "agency_files.h"
#include "records/error.h"
#include "records/record_reader.h"

namespace {

std::string errorOf(const std::string& path) {
  try {
    records::readRecord(path, {});
  } catch (const records::Error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no error for " << path;
  return "";
}

TEST(FileContent, AFolderIsNamedWithARecordInsideIt) {
  const agency_files::TempDir dir;
  EXPECT_EQ(errorOf(dir.path()), dir.path() + " is a folder; give a record file inside it");
  dir.write("notes.md", "# notes\n");
  const std::string record = dir.write("RSN6.AT2", "");
  EXPECT_EQ(errorOf(dir.path()),
            dir.path() + " is a folder; give a record file inside it, such as " + record);
}

TEST(FileContent, EmptyAndBlankFilesSaySo) {
  const agency_files::TempDir dir;
  for (const char* text : {"", "  \r\n\n\t\n"}) {
    const std::string path = dir.write("empty.txt", text);
    EXPECT_EQ(errorOf(path).rfind(path + ": the file is empty; give a record file", 0), 0u);
  }
}

TEST(FileContent, BinaryFilesAreNamedByTheirLeadingBytes) {
  const agency_files::TempDir dir;
  const std::pair<std::string, std::string> cases[] = {
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "is a PNG image"},
      {"%PDF-1.7\n%\xE2\xE3\n1 0 obj\n", "is a PDF document"},
      {std::string("PK\x03\x04\x14\0\0\0", 8), "is a ZIP archive"},
      {std::string("\x1F\x8B\x08\0\0\0", 6), "is a gzip-compressed file"},
      {std::string("0.1 0.2\n0.3\0 0.4\n", 17), "holds binary data"},
      {std::string("\xFF\xFE"
                   "0\0.\0"
                   "1\0",
                   8),
       "is UTF-16 text"}};
  for (const auto& [bytes, kind] : cases) {
    const std::string path = dir.write("elc180.png", bytes);
    EXPECT_EQ(errorOf(path).rfind(path + ": not a text record: the file " + kind, 0), 0u) << kind;
  }
  // Tabs, carriage returns and form feeds are text.
  EXPECT_FALSE(records::binaryKind("0\t0.1\r\n\f0.02\t0.2\r\n").has_value());
}

TEST(FileContent, ProseHasNoAccelerations) {
  const agency_files::TempDir dir;
  std::string path = dir.write(
      "README.md", "# Spectra\n\nRun `spectra elastic FILE`.\n\n1. Read 2 records\n- T = 0.5 s\n");
  EXPECT_EQ(
      errorOf(path).rfind(path + ": no accelerations found: the file holds text but no line of "
                                 "numbers. Give a record file (PEER NGA AT2, COSMOS V1/V2",
                          0),
      0u);
  // A manual with a table of results in it is still prose.
  path = dir.write("manual.md",
                   "Results:\n\n    0.5  0.13\n    1.0  0.18\n\nwhere T is the period\nand Sa "
                   "the\npseudo-acceleration.\n");
  EXPECT_EQ(
      errorOf(path).rfind(path + ": no accelerations found: the file is mostly text: 2 of "
                                 "its 6 lines are numbers (text above a table must start with '#')",
                          0),
      0u);
  // A table under a header row, or with a line of text among many numbers, is not prose.
  EXPECT_NO_THROW(records::expectTableOfNumbers("t.csv", {"time,acc (g)", "0,0.1"}));
  EXPECT_NO_THROW(records::expectTableOfNumbers("t.txt", {"0.1", "x", "0.2"}));
}

}  // namespace
