#include "reports/RBSearch.h"

#include "core/values/ChaineUnicode.h"

namespace RBSearch {
namespace {

// The page search is idle at start-up; main thread only.
bool gOccupe = false;

class TOccupation {
 public:
  TOccupation() { gOccupe = true; }
  ~TOccupation() { gOccupe = false; }
  TOccupation(const TOccupation&) = delete;
  TOccupation& operator=(const TOccupation&) = delete;
};

}  // namespace

bool SearchBusy() { return gOccupe; }

bool FindTextInPage(const std::string& Text, const Metafichier::TMetafile& Page, bool MatchCase) {
  // The search runs to its end without handing control to the message loop, so no second search can
  // start while one runs.
  TOccupation occupation;
  const std::string cherche = MatchCase ? Text : ChaineUnicode::Majuscules1252(Text);
  if (cherche.empty()) return false;
  bool trouve = false;
  Page.Enumerer([&](const Metafichier::TEnregistrement& E) {
    std::string texte;
    if (!Metafichier::TexteEnregistrement(E, texte)) return true;
    if (!MatchCase) texte = ChaineUnicode::Majuscules1252(texte);
    trouve = texte.find(cherche) != std::string::npos;
    return !trouve;
  });
  return trouve;
}

}  // namespace RBSearch
