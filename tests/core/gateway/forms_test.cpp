// The declared forms of the modules: the help texts list the same fields in the same order, and
// every field and input has a meaning for the program's labels and the bindings' units.
#include <gtest/gtest.h>

#include <fstream>
#include <cctype>
#include <string>
#include <vector>

#include "core/spectra/quantities.h"
#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "quorvel/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace {

const std::vector<const gateway::Signature*>& signatures() {
  static const std::vector<const gateway::Signature*> all = {
      &quorvel::signature(), &daskent::signature(),  &morbane::signature(),
      &tillock::signature(), &tillock::weight::signature(), &granwick::signature(),
      &pellory::signature(), &vintarrow::signature()};
  return all;
}

// The name of a help-text entry "%     <name> <description>": the comment mark, five spaces, a
// word of letters, digits and underscores, a space. (Parsed by hand: GCC 12 warns inside
// <regex> under the sanitizers, which fails the warnings-as-errors build.)
bool helpEntry(const std::string& line, std::string& name) {
  const std::string mark = "%     ";
  if (line.compare(0, mark.size(), mark) != 0) return false;
  std::size_t end = mark.size();
  while (end < line.size() &&
         (std::isalnum(static_cast<unsigned char>(line[end])) != 0 || line[end] == '_'))
    ++end;
  if (end == mark.size() || end == line.size() || line[end] != ' ') return false;
  name = line.substr(mark.size(), end - mark.size());
  return true;
}

// The field names listed under "Output fields" in matlab/<Module>.m, in order.
std::vector<std::string> helpFields(const std::string& module) {
  std::ifstream file(std::string(SPECTRA_SOURCE_DIR) + "/matlab/" + module + ".m");
  EXPECT_TRUE(file) << module;
  std::vector<std::string> names;
  bool inSection = false;
  for (std::string line; std::getline(file, line);) {
    if (line.find("Output fields") != std::string::npos) {
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    std::string name;
    if (!helpEntry(line, name)) break;
    names.push_back(name);
  }
  return names;
}

TEST(moduleForms, help_texts_list_the_declared_fields_in_order) {
  for (const gateway::Signature* s : signatures()) {
    if (s == &tillock::weight::signature()) continue;  // its differences are told in prose
    std::vector<std::string> declared;
    for (const gateway::Field& f : s->fields) declared.push_back(f.name);
    EXPECT_EQ(helpFields(s->module), declared) << s->module;
  }
}

TEST(moduleForms, every_field_and_input_has_a_quantity) {
  for (const gateway::Signature* s : signatures()) {
    for (const gateway::Field& f : s->fields)
      EXPECT_NE(core::quantityOf(f.name), nullptr) << s->module << " field " << f.name;
    for (const gateway::InputInfo& in : s->inputs) {
      if (in.kind == gateway::InputKind::Record || in.kind == gateway::InputKind::Keyword) continue;
      EXPECT_NE(core::quantityOf(in.name), nullptr) << s->module << " input " << in.name;
    }
  }
}

}  // namespace
