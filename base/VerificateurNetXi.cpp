#include "base/VerificateurNetXi.h"

#include "core/objects/Erreur.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "net/NetXi.h"

NV_DEFINE_CLASS(TVerificateurNetXi, TCustomVerifiable)

TVerificateurNetXi::TVerificateurNetXi(int32_t NumeroTable) : TCustomVerifiable(false), numeroTable_(NumeroTable) {
  TServiceVerifiablesApplication::Ajouter(this);
}

TVerificateurNetXi::~TVerificateurNetXi() { TServiceVerifiablesApplication::Retirer(this); }

bool TVerificateurNetXi::VerifierArticle(TErreur*& Erreur) {
  Erreur = nullptr;
  return false;
}

bool TVerificateurNetXi::VerifierCourant(intptr_t) {
  TErreur* erreur = nullptr;
  const bool sain = VerifierArticle(erreur);
  if (erreur != nullptr) {
    if (erreurCourante_ == nullptr) erreurCourante_ = new TErreur("Erreur Verification Articles : " + ClassName());
    erreur->AjouterA(erreurCourante_);
  }
  return !sain;  // True stops the walk
}

void TVerificateurNetXi::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  optionsCourantes_ = Options;
  erreurCourante_ = nullptr;
  if (NetXi::NombreTables() == 0) return;
  const TypeTableReseau* entree = NetXi::Table(numeroTable_);
  if (entree == nullptr || entree->Table == nullptr || *entree->Table == nullptr) return;
  Xi::ParcourirMethode(*entree->Table, 0, 0, MethodeXi<TVerificateurNetXi, &TVerificateurNetXi::VerifierCourant>(this),
                       TypeMethodeXi{}, 0, true);
  if (erreurCourante_ == nullptr) return;
  Erreur = new TErreur(std::string("Erreur vérification Table"_ansi));
  erreurCourante_->AjouterA(Erreur);
  erreurCourante_ = nullptr;
}
