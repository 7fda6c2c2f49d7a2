// Value blocks of the agencies' formats: strict counts, every value finite.
#include "records/sample_rows.h"

#include <algorithm>
#include <cmath>

#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

ValueRows readValueRows(const std::string& path, const std::vector<std::string>& lines,
                        std::size_t first, std::size_t end, std::size_t count,
                        const std::string& announcedAt, const std::string& noun,
                        const RowReader& readRow) {
  end = std::min(end, lines.size());
  ValueRows rows;
  // A header may announce far more values than the file holds; reserve only what can follow.
  rows.values.reserve(std::min(count, 16 * (end - std::min(first, end))));
  std::size_t i = first;
  for (; i < end && rows.values.size() < count; ++i) {
    if (stripped(lines[i]).empty()) continue;
    const std::vector<double> values = readRow(i + 1, lines[i]);
    if (rows.values.size() + values.size() > count)
      throw fileError(
          path, i + 1,
          "more " + noun + " than the " + std::to_string(count) + " announced " + announcedAt);
    for (double value : values) {
      if (!std::isfinite(value))
        throw fileError(path, i + 1, "value '" + roundTrip(value) + "' is not finite");
      rows.values.push_back(value);
    }
  }
  if (rows.values.size() != count)
    throw fileError(path, 0,
                    std::to_string(count) + " " + noun + " are announced " + announcedAt + " but " +
                        std::to_string(rows.values.size()) +
                        " follow: the file is cut short or the count is wrong");
  rows.nextLine = i;
  return rows;
}

void expectNothingAfter(const std::string& path, const std::vector<std::string>& lines,
                        std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < lines.size(); ++i)
    if (!stripped(lines[i]).empty())
      throw fileError(path, i + 1,
                      "'" + stripped(lines[i]).substr(0, 40) + "' after the " +
                          std::to_string(count) +
                          " samples announced in the header: the count is wrong or the file "
                          "holds more than one record");
}

std::vector<double> numbersAtBlanks(const std::string& path, std::size_t lineNumber,
                                    const std::string& line) {
  std::vector<double> values;
  for (const std::string& token : splitFields(line)) {
    const std::optional<double> value = parseNumber(token);
    if (!value) throw fileError(path, lineNumber, "'" + token + "' is not a number");
    values.push_back(*value);
  }
  return values;
}

}  // namespace records
