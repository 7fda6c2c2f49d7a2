// Parsing of --target (design spectra and tables) and --range.
#include "cli/app/target_option.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/app/error.h"
#include "measures/error.h"
#include "records/numbers.h"

namespace cli {

namespace {

constexpr double kCodeDamping = 0.05;

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "key=value,key=value" into a map with lower-case keys; each key once, each known.
std::map<std::string, std::string> keyValues(const std::string& text, const std::string& usage,
                                             const std::vector<std::string>& known) {
  std::map<std::string, std::string> values;
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) throw Error(usage);
    const std::string key = lower(trimmed(item.substr(0, equals)));
    if (std::find(known.begin(), known.end(), key) == known.end() || values.count(key))
      throw Error(usage);
    values[key] = trimmed(item.substr(equals + 1));
  }
  return values;
}

double required(const std::map<std::string, std::string>& values, const std::string& key,
                const std::string& usage) {
  const auto at = values.find(key);
  if (at == values.end()) throw Error(usage);
  return records::parseFinite(at->second, "--target " + key);
}

Target asce7(const std::string& text) {
  const std::string usage =
      "--target asce7: expected asce7:SDS=…,SD1=…,TL=… (SDS and SD1 in g, TL in s), e.g. "
      "asce7:SDS=1.0,SD1=0.6,TL=8";
  const auto values = keyValues(text, usage, {"sds", "sd1", "tl"});
  return {std::make_shared<measures::Asce7Spectrum>(
              required(values, "sds", usage), required(values, "sd1", usage),
              required(values, "tl", usage)),
          kCodeDamping};
}

Target eurocode8(const std::string& text) {
  const std::string usage =
      "--target ec8: expected ec8:type=1|2,ground=A…E,ag=…[,zeta=…] (ag the design ground "
      "acceleration on rock in g), e.g. ec8:type=1,ground=B,ag=0.25";
  const auto values = keyValues(text, usage, {"type", "ground", "ag", "zeta"});
  if (!values.count("type") || !values.count("ground")) throw Error(usage);
  const double zeta = values.count("zeta") ? required(values, "zeta", usage) : kCodeDamping;
  return {std::make_shared<measures::Eurocode8Spectrum>(
              measures::parseEurocode8Type(values.at("type")),
              measures::parseGroundType(values.at("ground")), required(values, "ag", usage), zeta),
          zeta};
}

// Rows of T, Sa from a file.
Target table(const std::string& path) {
  std::ifstream in(path);
  if (!in)
    throw Error(path + ": cannot open the target spectrum (give asce7:…, ec8:… or a file of T, "
                       "Sa rows)");
  std::vector<double> periods, sa;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string text = trimmed(line);
    if (text.empty() || text[0] == '#' || text[0] == '%') continue;
    std::string cells = text;
    std::replace_if(cells.begin(), cells.end(), [](char c) { return c == ',' || c == ';' || c == '\t'; }, ' ');
    std::stringstream tokens(cells);
    std::vector<std::string> row;
    for (std::string token; tokens >> token;) row.push_back(token);
    const bool numeric =
        row.size() == 2 && records::parseNumber(row[0]) && records::parseNumber(row[1]);
    if (!numeric && periods.empty() && number == 1) continue;  // a header line
    if (!numeric)
      throw Error(path + ":" + std::to_string(number) +
                  ": expected two numbers, the period T [s] and Sa [g], got '" + text + "'");
    periods.push_back(*records::parseNumber(row[0]));
    sa.push_back(*records::parseNumber(row[1]));
  }
  return {std::make_shared<measures::TableSpectrum>(periods, sa, path), std::nullopt};
}

}  // namespace

Target parseTarget(const std::string& text) {
  try {
    const std::string lowered = lower(text);
    if (lowered.rfind("asce7:", 0) == 0) return asce7(text.substr(6));
    if (lowered.rfind("ec8:", 0) == 0) return eurocode8(text.substr(4));
    return table(text);
  } catch (const measures::Error& error) {
    throw Error(std::string("--target: ") + error.what());
  }
}

measures::PeriodRange parseRange(const std::string& text) {
  const std::size_t colon = text.find(':');
  const std::string usage = "--range: expected Ta:Tb in s with 0 < Ta ≤ Tb, e.g. 0.2:2, got '" +
                            text + "'";
  if (colon == std::string::npos) throw Error(usage);
  const std::optional<double> a = records::parseNumber(text.substr(0, colon));
  const std::optional<double> b = records::parseNumber(text.substr(colon + 1));
  if (!a || !b || !(*a > 0) || !(*a <= *b) || !std::isfinite(*b)) throw Error(usage);
  return {*a, *b};
}

}  // namespace cli
