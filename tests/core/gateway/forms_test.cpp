// The declared forms of the modules: the help texts list the same fields in the same order, and
// every field and input has a meaning for the program's labels and the bindings' units.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
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

// The field names listed under "Output fields" in matlab/<Module>.m, in order.
std::vector<std::string> helpFields(const std::string& module) {
  std::ifstream file(std::string(SPECTRA_SOURCE_DIR) + "/matlab/" + module + ".m");
  EXPECT_TRUE(file) << module;
  const std::regex entry(R"(^%     (\w+) .*)");
  std::vector<std::string> names;
  bool inSection = false;
  for (std::string line; std::getline(file, line);) {
    if (line.find("Output fields") != std::string::npos) {
      inSection = true;
      continue;
    }
    std::smatch m;
    if (!inSection) continue;
    if (!std::regex_match(line, m, entry)) break;
    names.push_back(m[1]);
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
