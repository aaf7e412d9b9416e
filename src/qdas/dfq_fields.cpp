#include "qdas/dfq_fields.h"

namespace qrix::qdas {

namespace {
std::string label(std::string_view key, std::string_view name) {
  return std::string(key) + " (" + std::string(name) + ")";
}
}  // namespace

std::string checkText(const TextField& field, std::string_view text) {
  if (text.empty()) {
    return label(field.key, field.name) + " is empty";
  }
  if (text.size() > field.maxLength) {
    return label(field.key, field.name) + " is " + std::to_string(text.size()) +
           " characters long; AQDEF allows " + std::to_string(field.maxLength);
  }
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) {
      return label(field.key, field.name) +
             " holds a control or non-ASCII character; only printable ASCII is written";
    }
  }
  return {};
}

std::string checkCatalogueNumber(const NumberField& field, std::string_view text) {
  bool digits = !text.empty();
  for (char c : text) {
    digits = digits && c >= '0' && c <= '9';
  }
  if (!digits || text.size() > kMostCatalogueDigits) {
    return label(field.key, field.name) + " takes a catalogue number: a whole number of at most " +
           std::to_string(kMostCatalogueDigits) + " digits";
  }
  return {};
}

}  // namespace qrix::qdas
