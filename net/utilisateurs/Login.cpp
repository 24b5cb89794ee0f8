#include "net/utilisateurs/Login.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/values/Ansi1252.h"

const TCustomCodage::Class* TLogin::StaticClass() {
  static const TCodageClassOf<TLogin, TLogin::Class> d("TLogin", TCustomCodage::StaticClass());
  return &d;
}

const TCustomCodage::Class* TMotDePasse::StaticClass() {
  static const TCodageClassOf<TMotDePasse> d("TMotDePasse", TCustomCodage::StaticClass());
  return &d;
}

namespace Login {

std::string_view SansMotDePasse() { return "@mavolité52#"_ansi; }

void Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TLogin::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TMotDePasse::StaticClass());
}

}  // namespace Login
