#include "poemd/compose/compose_sizes.h"

namespace miravel::poemd {
namespace {

struct Named {
  const char* name;
  size_t ComposeSizes::*size;
};

constexpr Named kNamed[] = {
    {"scanned", &ComposeSizes::scanned},
    {"middle_scan_factor", &ComposeSizes::middle_scan_factor},
    {"shortlisted", &ComposeSizes::shortlisted},
    {"candidates", &ComposeSizes::candidates},
    {"forms", &ComposeSizes::forms},
    {"subjects", &ComposeSizes::subjects},
    {"subjects_offered", &ComposeSizes::subjects_offered},
    {"subject_scanned", &ComposeSizes::subject_scanned},
    {"near_scanned", &ComposeSizes::near_scanned},
    {"beam", &ComposeSizes::beam},
    {"middle_beam", &ComposeSizes::middle_beam},
    {"couplets_tried", &ComposeSizes::couplets_tried},
    {"parallel_firsts", &ComposeSizes::parallel_firsts},
    {"donor_tries", &ComposeSizes::donor_tries},
};

}  // namespace

bool SetSize(ComposeSizes& sizes, std::string_view name, size_t value) {
  if (value == 0) return false;  // the composer looks at one of each at least
  for (const Named& named : kNamed) {
    if (name == named.name) {
      sizes.*named.size = value;
      return true;
    }
  }
  return false;
}

std::vector<std::string> SizeNames() {
  std::vector<std::string> names;
  for (const Named& named : kNamed) names.emplace_back(named.name);
  return names;
}

}  // namespace miravel::poemd
