// Numbers written with a Fortran edit descriptor such as (8F10.5): fixed-width fields per line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace records {

struct FieldLayout {
  std::size_t perLine = 0;  // fields on a full line
  std::size_t width = 0;    // characters per field
};

// The layout of a format such as "(8F10.5)", "(10I8)", "(1P5E15.7)" or "8(F10.5)"; nullopt for a
// format this reader does not understand.
std::optional<FieldLayout> parseFortranFormat(const std::string& format);

// The numbers on one line written with the layout. Fields are cut at the layout's width, so that
// numbers written without a blank between them ("-1.2345E+1-2.3456E+0") are still told apart;
// a line whose fields do not all read as numbers is split at blanks instead, for files whose
// columns drift from the stated format. A token that is no number in either reading is an Error
// naming file and line.
std::vector<double> numbersInFields(const std::string& path, std::size_t lineNumber,
                                    const std::string& line, const FieldLayout& layout);

}  // namespace records
