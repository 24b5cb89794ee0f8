#include "reports/RBSearch.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/values/ChaineUnicode.h"
#include "reports/RBCtrls.h"

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

namespace {
void Gather(TComponent* Owner, std::vector<TDataSetEntry>& List, bool Recursive) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (auto* ds = dynamic_cast<IDataSet*>(c)) List.push_back({c->Name(), ds});
    if (Recursive && dynamic_cast<TWinControl*>(c) != nullptr) Gather(c, List, true);
  }
}

// The memory dataset is a platform class: its descriptor for stored reports lives here.
const TRBComponentClass* MemDataSetClass() {
  static const TRBComponentClass descriptor("TMemDataSet", nullptr,
                                            [](TComponent* O) -> TComponent* { return new TMemDataSet(O); });
  return &descriptor;
}
}  // namespace

std::vector<TDataSetEntry> ListDataSets(TComponent* Form, bool WithDataModules, const std::vector<TComponent*>& Modules) {
  std::vector<TDataSetEntry> out;
  if (Form != nullptr) Gather(Form, out, true);
  if (WithDataModules)
    for (TComponent* m : Modules)
      if (m != nullptr) Gather(m, out, false);
  return out;
}

void Initialiser() {
  const TClass* const classes[] = {TBandRep::StaticClass(), TRBBand::StaticClass(),      TRBGroup::StaticClass(),
                                   TRBSubDetail::StaticClass(), TRBExpr::StaticClass(),   TRBShape::StaticClass(),
                                   MemDataSetClass(),           TRBChildBand::StaticClass(), TRBLabel::StaticClass()};
  for (const TClass* c : classes)
    TGestionnaireNomsDeClasse::Enregistrer(c);
  gOccupe = false;
}

void Finaliser() {}

}  // namespace RBSearch
