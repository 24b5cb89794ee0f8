#include "ui/Fiche.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace Fiche {
namespace {

using TListe = std::vector<TForm**>;
// Both lists exist only while they hold something.
std::unique_ptr<TListe> creees;
std::unique_ptr<TListe> differees;
std::map<TForm*, int> occupees;

bool Retirer(std::unique_ptr<TListe>& Liste, TForm** Reference) {
  if (!Liste) return false;
  auto it = std::find(Liste->begin(), Liste->end(), Reference);
  if (it == Liste->end()) return false;
  Liste->erase(it);
  if (Liste->empty()) Liste.reset();
  return true;
}

bool Contient(const std::unique_ptr<TListe>& Liste, TForm* const* Reference) {
  return Liste && std::find(Liste->begin(), Liste->end(), Reference) != Liste->end();
}

bool Occupee(TForm* F) { return F && (F->Modal() || occupees.count(F) != 0); }

}  // namespace

void CreerFiche(const TClasseFiche& Classe, TForm*& Reference) {
  LibererFichesDifferees();
  Reference = Classe(&Application());
  if (!creees) creees = std::make_unique<TListe>();
  if (!Contient(creees, &Reference)) creees->push_back(&Reference);
}

bool DetruireFiche(TForm*& Reference) {
  if (!Retirer(creees, &Reference)) return false;
  (void)DiffererLiberation(Reference);
  return true;
}

bool DiffererLiberation(TForm*& Reference) {
  if (!Reference || Contient(differees, &Reference)) return false;
  if (!differees) differees = std::make_unique<TListe>();
  differees->push_back(&Reference);
  return true;
}

bool AnnulerLiberationDifferee(TForm*& Reference) { return Retirer(differees, &Reference); }

void LibererFichesDifferees() {
  if (!differees) return;
  // Freeing a form may run code that defers or cancels others: take one at a time.
  TListe restees;
  while (differees && !differees->empty()) {
    TForm** reference = differees->back();
    differees->pop_back();
    TForm* fiche = *reference;
    if (Occupee(fiche)) {
      restees.insert(restees.begin(), reference);
      continue;
    }
    *reference = nullptr;
    delete fiche;
  }
  differees.reset();
  if (!restees.empty()) differees = std::make_unique<TListe>(std::move(restees));
}

bool FermerFiches(TForm* Sauf) {
  if (!Sauf) Sauf = Application().MainForm();
  std::vector<TForm*> fiches;
  for (int i = 0; i < Screen().FormCount(); ++i) fiches.push_back(Screen().Forms(i));
  bool fermees = false;
  for (TForm* f : fiches) {
    if (!Screen().Existe(f) || f == Sauf || f->Name() == "FicheProfile") continue;
    if (!f->Visible() && f->Name() != "AttenteReponseServeur") continue;
    f->SetModalResult(mrCancel);
    if (!f->Modal()) f->Hide();
    fermees = true;
  }
  return fermees;
}

bool Enregistree(TForm* const& Reference) { return Contient(creees, &Reference); }
bool Differee(TForm* const& Reference) { return Contient(differees, &Reference); }

TGestionnaireEnCours::TGestionnaireEnCours(TForm* Fiche) : fiche_(Fiche) { ++occupees[fiche_]; }
TGestionnaireEnCours::~TGestionnaireEnCours() {
  if (--occupees[fiche_] == 0) occupees.erase(fiche_);
}

void Finaliser() {
  occupees.clear();
  LibererFichesDifferees();
  creees.reset();
}

}  // namespace Fiche
