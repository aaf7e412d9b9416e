#pragma once
// The K-fields of a Q-DAS (AQDEF) file this program writes, with the types and maximum lengths
// AQDEF gives them, and the checks a value must pass before it goes into a field. Text fields
// take printable ASCII only: a DFQ file carries no statement of its encoding, so anything else
// could reach the reader as other characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace qrix::qdas {

struct TextField {
  std::string_view key;   // "K1001"
  std::string_view name;  // "part number"
  std::size_t maxLength;
};

inline constexpr TextField kPartNumber = {"K1001", "part number", 30};
inline constexpr TextField kPartDescription = {"K1002", "part description", 80};
inline constexpr TextField kCharacteristicNumber = {"K2001", "characteristic number", 40};
inline constexpr TextField kCharacteristicDescription = {"K2002", "characteristic description", 80};
inline constexpr TextField kUnit = {"K2142", "unit", 20};

// The operator (K0008) and the gauge (K0012) are catalogue numbers in AQDEF (type I10): a whole
// number of up to ten digits that the reader looks up in its own catalogue, not a name.
struct NumberField {
  std::string_view key;
  std::string_view name;
};
inline constexpr NumberField kOperator = {"K0008", "operator"};
inline constexpr NumberField kGauge = {"K0012", "gauge"};
inline constexpr std::size_t kMostCatalogueDigits = 10;

// Empty when `text` fits the field, else what is wrong, naming the field.
std::string checkText(const TextField& field, std::string_view text);
std::string checkCatalogueNumber(const NumberField& field, std::string_view text);

}  // namespace qrix::qdas
