#pragma once
// The strict reading of the files a production script hands over: a parameter file must hold
// exactly its 45 words, each a number from 0 to 65535 that the panels take as it is, and a
// linearisation table exactly its 2048 values within the flash's range. The window reads the
// same files leniently (the first words, with the panels' limits), as stored files always were.

#include <cstdint>
#include <string>

namespace qrix {

// The most virtual pixels any sensor of the pair has: the limits that hang on the count are
// checked against it before the sensor is known, and against its own count once it is.
inline constexpr std::uint16_t kMostVirtualPixels = 8192;

// What is wrong with the parameter file for a sensor of `pixels` virtual pixels, naming the line
// and the field ("p.cfg line 16: master Light power is 1001, allowed 0 to 1000"); empty when
// nothing is.
std::string checkParaFileStrictly(const std::string& path, std::uint16_t pixels);

// What is wrong with the linearisation table, naming the line; empty when nothing is.
std::string checkLinFileStrictly(const std::string& path);

}  // namespace qrix
