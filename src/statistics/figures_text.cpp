#include "statistics/figures_text.h"

#include <cstdio>
#include <string_view>

#include "stats/capability.h"

namespace qrix {

namespace {

using stats::Quantity;

std::string cell(const std::optional<double>& v, const char* format) {
  if (!v) {
    return "-";
  }
  char text[32];
  std::snprintf(text, sizeof text, format, *v);
  return text;
}

std::string cell(const std::optional<std::int64_t>& v) {
  return v ? std::to_string(*v) : "-";
}

// The name padded to 12 characters, not bytes: the micro sign takes two.
std::string nameCell(std::string_view name) {
  std::size_t characters = 0;
  for (char c : name) {
    characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return std::string(name) + std::string(characters < 12 ? 12 - characters : 0, ' ');
}

std::string row(std::string_view name, const stats::Summary& s) {
  char text[128];
  std::snprintf(text, sizeof text, "%s %8llu %11s %10s %8s %8s %7s\n", nameCell(name).c_str(),
                static_cast<unsigned long long>(s.n), cell(s.mean, "%.2f").c_str(),
                cell(s.sd, "%.3f").c_str(), cell(s.min).c_str(), cell(s.max).c_str(),
                cell(s.range).c_str());
  return text;
}

}  // namespace

std::string figuresText(const stats::MeasurementStatistics& figures, stats::Span span,
                        const std::optional<ToleranceLimits>& limits,
                        const std::string& countersLabel, bool judged) {
  char text[160];
  std::snprintf(text, sizeof text, "%-12s %8s %11s %10s %8s %8s %7s\n", "", "n", "mean", "sd",
                "min", "max", "range");
  std::string out = text;
  out += row("Value [px]", figures.summary(Quantity::ValuePx, span));
  out += row("Value [\xC2\xB5m]", figures.summary(Quantity::ValueUm, span));
  out += row("MASTER edge", figures.summary(Quantity::MasterEdge, span));
  out += row("SLAVE edge", figures.summary(Quantity::SlaveEdge, span));
  out += "\n";
  if (!limits) {
    out += "Cp -  Cpk -  (no tolerance window yet)\n";
  } else {
    const stats::Capability c =
        stats::capability(figures.summary(Quantity::ValuePx, span),
                          static_cast<double>(limits->lower), static_cast<double>(limits->upper));
    std::snprintf(text, sizeof text, "Cp %s  Cpk %s  against %lld to %lld px",
                  cell(c.cp, "%.2f").c_str(), cell(c.cpk, "%.2f").c_str(),
                  static_cast<long long>(limits->lower), static_cast<long long>(limits->upper));
    out += text;
    out += c.reason.empty() ? "\n" : "  (" + c.reason + ")\n";
  }
  const stats::JudgementCounters& n = figures.counters();
  if (!judged) {
    std::snprintf(text, sizeof text, "%s: %llu answers, not judged: the limits make no window",
                  countersLabel.c_str(), static_cast<unsigned long long>(n.answers));
    return out + text;
  }
  std::snprintf(
      text, sizeof text, "%s: %llu answers, %llu inside, %llu above, %llu below, yield %s",
      countersLabel.c_str(), static_cast<unsigned long long>(n.answers),
      static_cast<unsigned long long>(n.inside), static_cast<unsigned long long>(n.above),
      static_cast<unsigned long long>(n.below), cell(n.yieldPercent(), "%.2f %%").c_str());
  out += text;
  return out;
}

}  // namespace qrix
