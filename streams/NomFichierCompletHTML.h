// Where the HTML output of a base file goes: a folder of its own under "Dossier_HTML" beside the
// program.
#pragma once

#include <string>

class TNomFichierCompletHTML {
 public:
  TNomFichierCompletHTML() = delete;
  // The program's directory, "Dossier_HTML/", the file's name without its folder and extension and
  // right-trimmed of blanks, and "/index.htm". A name from the data server may use either "\" or
  // "/" between its folders.
  static std::string NomComplet(const std::string& NomFichier);
};
