// Fixed-width text table of a spectrum; widths count characters, not bytes, so that ζ and μ
// keep the columns straight.
#include "cli/writers/table_writer.h"

#include <fmt/format.h>

#include <algorithm>

#include "cli/writers/labels.h"

namespace cli {

namespace {

constexpr std::size_t kMinWidth = 14;

std::size_t displayWidth(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string padded(const std::string& text, std::size_t width) {
  const std::size_t shown = displayWidth(text);
  return std::string(width > shown ? width - shown : 0, ' ') + text;
}

// One column of the table: two header lines and the values.
struct Column {
  std::string field;  // shown over the first column of each field only
  std::string swept;
  std::vector<double> values;
  std::size_t width() const {
    return std::max({kMinWidth, displayWidth(field) + 2, displayWidth(swept) + 2});
  }
};

std::vector<Column> columnsOf(const Spectrum& spectrum, const std::vector<std::string>& fields) {
  std::vector<Column> columns = {{"T [s]", "", spectrum.periods()}};
  const std::size_t nSwept = spectrum.sweptValues().size();
  for (const std::string& field : fields)
    for (std::size_t j = 0; j < nSwept; ++j)
      columns.push_back({j == 0 ? columnLabel(field, spectrum.units) : "", spectrum.sweptLabel(j),
                         spectrum.column(field, j)});
  return columns;
}

}  // namespace

std::string tableText(const Spectrum& spectrum, const std::vector<std::string>& fields) {
  const std::vector<Column> columns = columnsOf(spectrum, fields);
  const QuantityUnit& acc = spectrum.units.of(core::Quantity::Acceleration);
  std::string text = fmt::format("{} ({}), {}: PGA = {:.6g} {}\n", spectrum.module->name,
                                 spectrum.module->command, spectrum.source,
                                 spectrum.values("pga").at(0), acc.name);
  std::string fieldLine, sweptLine;
  for (const Column& c : columns) {
    fieldLine += padded(c.field, c.width());
    sweptLine += padded(c.swept, c.width());
  }
  text += fieldLine + "\n" + sweptLine + "\n";
  for (std::size_t i = 0; i < spectrum.periods().size(); ++i) {
    for (const Column& c : columns) text += fmt::format("{:>{}.6g}", c.values[i], c.width());
    text += '\n';
  }
  return text;
}

}  // namespace cli
