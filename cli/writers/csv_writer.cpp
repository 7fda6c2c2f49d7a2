// CSV text of a spectrum.
#include "cli/writers/csv_writer.h"

#include "records/numbers.h"

namespace cli {

namespace {

struct Column {
  std::string header;
  std::vector<double> values;
};

std::string unitText(const QuantityUnit& unit) { return unit.name.empty() ? "-" : unit.name; }

std::vector<Column> columnsOf(const Spectrum& spectrum) {
  std::vector<Column> columns = {{"T [s]", spectrum.periods()},
                                 {"f [Hz]", spectrum.column("f", 0)}};
  const std::size_t nSwept = spectrum.sweptValues().size();
  for (const std::string& field : spectrum.matrixFields())
    for (std::size_t j = 0; j < nSwept; ++j)
      columns.push_back({field + " " + spectrum.sweptKey(j) + " [" +
                             unitText(spectrum.units.ofField(field)) + "]",
                         spectrum.column(field, j)});
  return columns;
}

}  // namespace

std::string csvText(const Spectrum& spectrum) {
  const std::vector<Column> columns = columnsOf(spectrum);
  std::string text;
  for (std::size_t c = 0; c < columns.size(); ++c) text += (c ? "," : "") + columns[c].header;
  text += '\n';
  for (std::size_t i = 0; i < spectrum.periods().size(); ++i) {
    for (std::size_t c = 0; c < columns.size(); ++c)
      text += (c ? "," : "") + records::roundTrip(columns[c].values[i]);
    text += '\n';
  }
  return text;
}

}  // namespace cli
