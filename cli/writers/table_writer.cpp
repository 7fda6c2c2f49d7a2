// Fixed-width text table of a spectrum.
#include "cli/writers/table_writer.h"

#include <fmt/format.h>

#include <algorithm>

#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

constexpr std::size_t kMinWidth = 14;

// One column of the table: two header lines and the values.
struct Column {
  std::string field;  // shown over the first column of each field only
  std::string swept;
  std::vector<double> values;
  std::size_t width() const { return std::max({kMinWidth, field.size() + 2, swept.size() + 2}); }
};

std::vector<Column> columnsOf(const Spectrum& spectrum, const std::vector<std::string>& fields) {
  std::vector<Column> columns = {{"T [s]", "", spectrum.periods()}};
  const std::vector<double>& swept = spectrum.sweptValues();
  for (const std::string& field : fields)
    for (std::size_t j = 0; j < swept.size(); ++j)
      columns.push_back({j == 0 ? spectrum.fieldLabel(field) : "",
                         spectrum.module->swept + "=" + records::roundTrip(swept[j]),
                         spectrum.column(field, j)});
  return columns;
}

}  // namespace

std::string tableText(const Spectrum& spectrum, const std::vector<std::string>& fields) {
  const std::vector<Column> columns = columnsOf(spectrum, fields);
  std::string text =
      fmt::format("{} ({}), {}: pga = {:.6g} {}\n", spectrum.module->name, spectrum.module->command,
                  spectrum.source, spectrum.outcome.values("pga").at(0), spectrum.outUnits);
  std::string fieldLine, sweptLine;
  for (const Column& c : columns) {
    fieldLine += fmt::format("{:>{}}", c.field, c.width());
    sweptLine += fmt::format("{:>{}}", c.swept, c.width());
  }
  text += fieldLine + "\n" + sweptLine + "\n";
  for (std::size_t i = 0; i < spectrum.periods().size(); ++i) {
    for (const Column& c : columns) text += fmt::format("{:>{}.6g}", c.values[i], c.width());
    text += '\n';
  }
  return text;
}

}  // namespace cli
