#include "tests/net/objets/ObjetsReseauFixtures.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/StrictReads.h"

NV_DEFINE_CLASS(TObjetTest, TObjetIdentifiable)
NV_DEFINE_CLASS(TObjetTestDerive, TObjetTest)
NV_DEFINE_CLASS(TAutreObjet, TObjetIdentifiable)
NV_DEFINE_PUBLISHED_CLASS(TOrdreTest, TOrdreReseau, kProprietes)
NV_DEFINE_PUBLISHED_CLASS(TOrdreTypeInconnu, TOrdreReseau, kProprietes)
NV_DEFINE_CLASS(TAutreOrdre, TOrdreReseau)
NV_DEFINE_PUBLISHED_CLASS(TOrdreCible, TOrdreReseau, kProprietes)

TListeParametresPublies* TOrdreCible::CreerParametres() {
  auto* liste = static_cast<TListeParametresPubliesReseau*>(TOrdreReseau::CreerParametres());
  liste->ParametreReseau(0)->DefinirSens(3, TFSObjetParReference::StaticClass());
  return liste;
}

void TObjetTest::LireContenu(IFormateur* Formateur) { Valeur = StrictReads::LireEntier(Formateur); }

void* TObjetTest::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IContenuObjet::IID) return static_cast<IContenuObjet*>(this);
  return TObjetIdentifiable::GetInterfaceEntry(iid);
}

TListeParametresPublies* TOrdreTest::CreerParametres() {
  auto* liste = static_cast<TListeParametresPubliesReseau*>(TOrdreReseau::CreerParametres());
  liste->ParametreReseau(2)->DefinirSens(2, nullptr);
  return liste;
}

TErreur* TOrdreTest::Executer() {
  if (Numero() < 0) {
    auto* e = new TErreur("Numero negatif");
    (new TErreur("Numero = " + std::to_string(Numero())))->AjouterA(e);
    return e;
  }
  static_cast<TParametreInteger*>(Parametres()->Parametre(2))->SetValeur(Numero() * 2);
  SetNom("modifie");
  return nullptr;
}

int32_t TOrdreTest::Numero() { return static_cast<TParametreInteger*>(Parametres()->Parametre(0))->GetValeur(); }
void TOrdreTest::SetNumero(int32_t v) { static_cast<TParametreInteger*>(Parametres()->Parametre(0))->SetValeur(v); }
std::string TOrdreTest::Nom() { return static_cast<TParametreString*>(Parametres()->Parametre(1))->GetValeur(); }
void TOrdreTest::SetNom(const std::string& v) { static_cast<TParametreString*>(Parametres()->Parametre(1))->SetValeur(v); }
int32_t TOrdreTest::Resultat() { return static_cast<TParametreInteger*>(Parametres()->Parametre(2))->GetValeur(); }

void* TServeurOctets::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IInterlocuteurReseau::IID) return static_cast<IInterlocuteurReseau*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

TErreur* TServeurOctets::EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) {
  TBinaryFormatterWithSize client(nullptr);
  client.EcrireObjet(Ordre, TFSModeRequete::StaticClass());
  requete = TestsObjetsReseau::Octets(client);

  client.SetPosition(0);
  TOrdreReseau* copie = OrdreReseau::LireOrdre(&client);
  copie->Traiter(TComportementLocal::StaticClass());
  TBinaryFormatterWithSize reponse(nullptr);
  reponse.EcrireObjet(copie, TFSModeReponse::StaticClass());
  delete copie;

  reponse.SetPosition(0);
  OrdreReseau::RecevoirReponse(Ordre, &reponse);
  return nullptr;
}

void* TEchec::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IInterlocuteurReseau::IID) return static_cast<IInterlocuteurReseau*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

void TestsObjetsReseau::Enregistrer() {
  for (const TClass* c : {TObjetTest::StaticClass(), TObjetTestDerive::StaticClass(), TAutreObjet::StaticClass(),
                          TOrdreTest::StaticClass(), TOrdreTypeInconnu::StaticClass(),
                          TAutreOrdre::StaticClass(), TOrdreCible::StaticClass()})
    TGestionnaireNomsDeClasse::Enregistrer(c);
}

std::vector<uint8_t> TestsObjetsReseau::Octets(TCustomFormatter& f) {
  const uint8_t* p = f.GetTampon();
  return std::vector<uint8_t>(p, p + f.GetTaille());
}

int TestsObjetsReseau::Collectes() { return static_cast<TServiceRamasseMiettes*>(TRamasseMiettes::Service())->Nombre(); }
