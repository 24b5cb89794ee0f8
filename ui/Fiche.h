// The registry of forms created on demand and freed later. A form created through the registry is
// owned by the application and its reference variable is registered; destroying it through the
// registry only defers its destruction, which happens before the next creation or when the
// application closes. A form is never freed while its modal loop or one of its handlers (marked
// with TGestionnaireEnCours) runs: it stays deferred until a later pass. Main thread only.
#pragma once

#include <functional>

#include "platform/gui/Fiches.h"

namespace Fiche {

// A form class: builds a form owned by Owner.
using TClasseFiche = std::function<TForm*(TComponent* Owner)>;

// Frees the deferred forms that can go, creates the form (owned by the application, Reference
// set) and registers Reference.
void CreerFiche(const TClasseFiche& Classe, TForm*& Reference);
template <class T>
void CreerFiche(TForm*& Reference) {
  CreerFiche([](TComponent* Owner) -> TForm* { return new T(Owner); }, Reference);
}
// False when Reference is not registered; otherwise unregisters it and defers its destruction.
bool DetruireFiche(TForm*& Reference);
// False for an empty reference or one already deferred; otherwise defers it.
bool DiffererLiberation(TForm*& Reference);
// Takes the reference out of the deferred list; false when it is not there.
bool AnnulerLiberationDifferee(TForm*& Reference);
// Frees every deferred form that can go, the last deferred first, setting each reference to nil.
void LibererFichesDifferees();
// Gives every form on the screen but Sauf (the main form by default) and "FicheProfile" the modal
// result 2 and hides those that are not modal; invisible forms are left, except the waiting form
// "AttenteReponseServeur". Whether any form was closed.
bool FermerFiches(TForm* Sauf = nullptr);

// Whether a reference is registered, or deferred.
bool Enregistree(TForm* const& Reference);
bool Differee(TForm* const& Reference);

// Marks a form busy for the life of one of its handlers.
class TGestionnaireEnCours {
 public:
  explicit TGestionnaireEnCours(TForm* Fiche);
  ~TGestionnaireEnCours();
  TGestionnaireEnCours(const TGestionnaireEnCours&) = delete;
  TGestionnaireEnCours& operator=(const TGestionnaireEnCours&) = delete;

 private:
  TForm* fiche_;
};

void Finaliser();

}  // namespace Fiche
