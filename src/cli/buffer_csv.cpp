#include "cli/buffer_csv.h"

#include <initializer_list>

#include "program/program_state.h"

namespace qrix::cli {

namespace {

std::string csv(const std::string& header, const X128& x,
                std::initializer_list<const Line128*> columns) {
  std::string text = header + "\r\n";
  for (std::size_t i = 0; i < x.size(); ++i) {
    text += std::to_string(static_cast<long long>(x[i]));
    for (const Line128* column : columns) text += "," + std::to_string((*column)[i]);
    text += "\r\n";
  }
  return text;
}

}  // namespace

std::string videoCsv(const ProgramState& st) {
  return csv("position [virtual px],master,slave,master threshold,slave threshold", st.xArray8,
             {&st.adcbufA, &st.adcbufB, &st.thdArrayA, &st.thdArrayB});
}

std::string dataCsv(const ProgramState& st) {
  return csv(
      "position,master,slave,master trigger,master upper,master reference,master lower,"
      "slave trigger,slave upper,slave reference,slave lower",
      st.xArrayMVAL,
      {&st.mvalBUFA, &st.mvalBUFB, &st.trgBUFA, &st.upTHDA, &st.refTHDA, &st.loTHDA, &st.trgBUFB,
       &st.upTHDB, &st.refTHDB, &st.loTHDB});
}

}  // namespace qrix::cli
