// The version record of a program or of a base: a product name and four numbers. It is stored and
// sent as 272 bytes: the name as a counted string of 255 characters, then the major, minor,
// release and build numbers (unsigned 32-bit, little-endian).
#pragma once

#include <cstdint>
#include <string>

struct TypeVersion {
  std::string Nom;  // at most 255 characters
  uint32_t Majeur = 0;
  uint32_t Mineur = 0;
  uint32_t Release = 0;
  uint32_t Build = 0;
};
