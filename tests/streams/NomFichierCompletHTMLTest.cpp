// The folder of a base file's HTML output, beside the program.
#include <gtest/gtest.h>

#include "core/diagnostics/Debug.h"
#include "streams/NomFichierCompletHTML.h"

namespace {

// The platform as the HTML output sees it: only the program's file matters.
class TProgrammeEssai : public IPlateformeDebug {
 public:
  std::string FichierProgramme() override { return "/opt/norvane/bin/svcweb"; }
  uintptr_t BaseCode() override { return 0; }
  std::vector<TCadrePile> CadresPile() override { return {}; }
  bool SymboleDeAdresse(uintptr_t, TSymbolePlateforme&) override { return false; }
};

}  // namespace

TEST(NomFichierCompletHTML, IsTheFilesOwnFolderUnderDossierHtmlBesideTheProgram) {
  TProgrammeEssai programme;
  Debug::SetPlateforme(&programme);
  struct Cas {
    const char* fichier;
    const char* attendu;
  };
  const Cas cas[] = {
      {"Planning.hyp", "/opt/norvane/bin/Dossier_HTML/Planning/index.htm"},
      {"C:\\Bases\\Planning  .hyp", "/opt/norvane/bin/Dossier_HTML/Planning/index.htm"},
      {"/srv/bases/Lyc\xE9""e.2026.hyp", "/opt/norvane/bin/Dossier_HTML/Lyc\xE9""e.2026/index.htm"},
      {"Planning", "/opt/norvane/bin/Dossier_HTML/Planning/index.htm"},
  };
  for (const Cas& c : cas) EXPECT_EQ(TNomFichierCompletHTML::NomComplet(c.fichier), c.attendu) << c.fichier;
  Debug::SetPlateforme(nullptr);
}
