#include "fuzz/ObjetsReseauFuzz.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "net/objets/ParametreObjetReseau.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/StrictReads.h"

namespace Fuzz {

NV_DEFINE_CLASS(TObjetReseauFuzz, TObjetIdentifiable)
NV_DEFINE_PUBLISHED_CLASS(TOrdreFuzz, TOrdreReseau, kProprietes)

void TObjetReseauFuzz::LireContenu(IFormateur* Formateur) { Valeur = StrictReads::LireEntier(Formateur); }

void* TObjetReseauFuzz::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IContenuObjet::IID) return static_cast<IContenuObjet*>(this);
  return TObjetIdentifiable::GetInterfaceEntry(iid);
}

TListeParametresPublies* TOrdreFuzz::CreerParametres() {
  auto* liste = static_cast<TListeParametresPubliesReseau*>(TOrdreReseau::CreerParametres());
  liste->ParametreReseau(1)->DefinirSens(3, nullptr);
  liste->ParametreReseau(2)->DefinirSens(3, TFSObjetParReference::StaticClass());
  liste->ParametreReseau(4)->DefinirSens(2, nullptr);
  return liste;
}

TErreur* TOrdreFuzz::Executer() {
  const int32_t nombre = static_cast<TParametreInteger*>(Parametres()->Parametre(0))->GetValeur();
  if (nombre < 0) return new TErreur("Nombre negatif");
  static_cast<TParametreDouble*>(Parametres()->Parametre(4))->SetValeur(nombre / 2.0);
  return nullptr;
}

TObjetReseauFuzz* ObjetLocal() {
  static TObjetReseauFuzz* local = [] {
    auto* o = new TObjetReseauFuzz();  // lives as long as the process, as the receiver's objects do
    o->SetIdentifiant(kGuidLocal);
    TGestionnaireIdentificationReseau::Declarer(o);
    return o;
  }();
  return local;
}

void DemarrerObjetsReseau() {
  static const bool fait = [] {
    TGestionnaireNomsDeClasse::Enregistrer(TObjetReseauFuzz::StaticClass());
    TGestionnaireNomsDeClasse::Enregistrer(TOrdreFuzz::StaticClass());
    ObjetLocal();
    return true;
  }();
  (void)fait;
}

}  // namespace Fuzz
