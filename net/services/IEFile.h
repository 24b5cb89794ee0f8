// Existence test of the file system; it never raises: a name that cannot be examined does not exist.
#pragma once

#include <string>

class TFile {
 public:
  // A file (anything but a directory) of that name exists.
  static bool Exists(const std::string& Nom);
};
