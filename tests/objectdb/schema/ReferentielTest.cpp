// The schema registry's core: class nodes made with their parents and numbered, field lists with
// the ancestors' fields first, and the registration of tables per base up to the root.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TPersonne : public TArticle {
  NV_DECLARE_CLASS(TPersonne)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TPersonne, TArticle, kProprietes)

class TProfesseur : public TPersonne {
  NV_DECLARE_CLASS(TProfesseur)
 public:
  using TPersonne::TPersonne;
  static constexpr TInfoPropriete kProprietes[] = {{"Heures", "Integer", tkInteger, nullptr, 1, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TProfesseur, TPersonne, kProprietes)

class TSalle : public TArticle {
  NV_DECLARE_CLASS(TSalle)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TSalle, TArticle)

class TBaseEcole : public TBase {
  NV_DECLARE_CLASS(TBaseEcole)
 public:
  using TBase::TBase;
};
NV_DEFINE_CLASS(TBaseEcole, TBase)

// Two classes that refer to each other, and one that refers to itself.
const TClass* ClasseRetour();
class TAller : public TArticle {
  NV_DECLARE_CLASS(TAller)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Retour", "TRetour", tkClass, [] { return ClasseRetour(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TAller, TArticle, kProprietes)

class TRetour : public TArticle {
  NV_DECLARE_CLASS(TRetour)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Aller", "TAller", tkClass, [] { return TAller::StaticClass(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TRetour, TArticle, kProprietes)
const TClass* ClasseRetour() { return TRetour::StaticClass(); }

const TClass* ClasseChainon();
class TChainon : public TArticle {
  NV_DECLARE_CLASS(TChainon)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Suivant", "TChainon", tkClass, [] { return ClasseChainon(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TChainon, TArticle, kProprietes)
const TClass* ClasseChainon() { return TChainon::StaticClass(); }

// A class that refers to its own subclass: making the subclass's node needs the class's node.
const TClass* ClasseSousDossier();
class TDossier : public TArticle {
  NV_DECLARE_CLASS(TDossier)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Dernier", "TSousDossier", tkClass, [] { return ClasseSousDossier(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TDossier, TArticle, kProprietes)

class TSousDossier : public TDossier {
  NV_DECLARE_CLASS(TSousDossier)
 public:
  using TDossier::TDossier;
};
NV_DEFINE_CLASS(TSousDossier, TDossier)
const TClass* ClasseSousDossier() { return TSousDossier::StaticClass(); }

std::string Libelles(TListeChampsPublies* liste) {
  std::string s;
  for (int32_t i = 0; i < liste->GetNombreElements(); ++i) s += (i ? "," : "") + liste->Champ(i)->Libelle;
  delete liste;
  return s;
}

const TypeBaseEtTable* Entree(const TClass* Classe, TBase* Base) { return TReferentiel::Noeud(Classe)->Entree(Base); }

}  // namespace

TEST(Referentiel, ASubclassListsItsParentsFieldsFirstAndAnUnknownClassNone) {
  ASSERT_TRUE(TReferentiel::EnregistrerClasse(TProfesseur::StaticClass()));
  TNoeudReferentiel* professeur = TReferentiel::Noeud(TProfesseur::StaticClass());
  TNoeudReferentiel* personne = TReferentiel::Noeud(TPersonne::StaticClass());
  ASSERT_NE(professeur, nullptr);
  EXPECT_EQ(professeur->Parent(), personne);
  EXPECT_EQ(personne->Parent(), TReferentielManager::Racine());
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TProfesseur::StaticClass())), "Nom,Heures");
  EXPECT_EQ(Libelles(professeur->ChampsPublies()), "Nom,Heures");
  EXPECT_EQ(professeur->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TObject::StaticClass())), "");
  EXPECT_EQ(TReferentiel::InfosAcces(TProfesseur::StaticClass(), 1), nullptr);
  EXPECT_EQ(TReferentiel::InfosAcces(TProfesseur::StaticClass(), 5), nullptr);
  // Registering again makes nothing new.
  ASSERT_TRUE(TReferentiel::EnregistrerClasse(TProfesseur::StaticClass()));
  EXPECT_EQ(TReferentiel::Noeud(TProfesseur::StaticClass()), professeur);
}

TEST(Referentiel, NodesAreNumberedByDepthAndSiblingPositionAndOrderedByBranch) {
  TReferentiel::EnregistrerClasse(TProfesseur::StaticClass());
  TReferentiel::EnregistrerClasse(TSalle::StaticClass());
  TNoeudReferentiel* racine = TReferentielManager::Racine();
  TNoeudReferentiel* personne = TReferentiel::Noeud(TPersonne::StaticClass());
  TNoeudReferentiel* professeur = TReferentiel::Noeud(TProfesseur::StaticClass());
  TNoeudReferentiel* salle = TReferentiel::Noeud(TSalle::StaticClass());
  EXPECT_EQ(racine->Adresse(), "0");
  EXPECT_EQ(professeur->Niveau, 2);
  EXPECT_EQ(professeur->Adresse(), personne->Adresse() + ".0");
  EXPECT_EQ(racine->NoeudFils(0)->Adresse(), "0.0");
  // Siblings in the order their classes were first registered in.
  ASSERT_NE(personne->Id, salle->Id);
  const int8_t avant = personne->Id < salle->Id ? 1 : -1;
  EXPECT_EQ(professeur->Comparer(salle), avant);
  EXPECT_EQ(salle->Comparer(professeur), -avant);
  EXPECT_EQ(professeur->Comparer(personne), 0);
  std::string resume;
  professeur->TracerResume(resume);
  EXPECT_EQ(resume, "Classe = TProfesseur; Adresse = " + professeur->Adresse() + "; Nombre champs = 1; Nombre tables = 0");
  // The header: the class, then the address, then the traces of the node's lists.
  std::string entete;
  professeur->TracerEntete(nullptr, entete);
  const std::size_t classe = entete.find("Classe = TProfesseur\r\n");
  const std::size_t adresse = entete.find("Adresse = " + professeur->Adresse() + "\r\n");
  ASSERT_NE(classe, std::string::npos) << entete;
  ASSERT_NE(adresse, std::string::npos) << entete;
  EXPECT_LT(classe, adresse);
  EXPECT_NE(entete.find("Heures", adresse), std::string::npos) << entete;
}

TEST(Referentiel, ATableInABaseIsRecordedUpToTheRootAndFreeingItRemovesEveryEntry) {
  TBaseEcole base;
  {
    TCustomTable table(TProfesseur::StaticClass(), &base, 1024);
    ASSERT_NE(Entree(TProfesseur::StaticClass(), &base), nullptr);
    EXPECT_EQ(Entree(TProfesseur::StaticClass(), &base)->Table, &table);
    EXPECT_EQ(Entree(TPersonne::StaticClass(), &base)->Table, nullptr);
    EXPECT_NE(Entree(TArticle::StaticClass(), &base), nullptr);
    EXPECT_TRUE(TReferentiel::Noeud(TProfesseur::StaticClass())->ClassesDeBases->Contient(TBaseEcole::StaticClass()));
    EXPECT_EQ(TReferentielManager::Racine()->CompterTables(&base), 1);
  }
  EXPECT_EQ(Entree(TProfesseur::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TPersonne::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TArticle::StaticClass(), &base), nullptr);
}

TEST(Referentiel, ASecondTableOfAClassInTheSameBaseStaysOutAndItsEndLeavesTheFirstRegistered) {
  TBase base;
  TCustomTable premiere(TSalle::StaticClass(), &base, 1024);
  {
    TCustomTable seconde(TSalle::StaticClass(), &base, 1024);
    EXPECT_EQ(Entree(TSalle::StaticClass(), &base)->Table, &premiere);
    EXPECT_FALSE(TReferentiel::AjouterTable(&seconde));
  }
  ASSERT_NE(Entree(TSalle::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TSalle::StaticClass(), &base)->Table, &premiere);
  // A plain base's class is not recorded.
  EXPECT_FALSE(TReferentiel::Noeud(TSalle::StaticClass())->ClassesDeBases->Contient(TBase::StaticClass()));
}

TEST(Referentiel, ReferenceColumnsAreRecordedOncePerReferencedClass) {
  TReferentiel::EnregistrerClasse(TSalle::StaticClass());
  TChampInteger a("a", nullptr, {1024}, false), b("b", nullptr, {1024}, false);
  TReferentiel::AjouterChampReference(&a, TSalle::StaticClass());
  TReferentiel::AjouterChampReference(&b, TSalle::StaticClass());
  TReferentiel::AjouterChampReference(&a, TSalle::StaticClass());
  TArrayOfChamp* champs = TReferentiel::Noeud(TSalle::StaticClass())->ChampsReferencants;
  ASSERT_NE(champs, nullptr);
  EXPECT_EQ(champs->GetNombreElements(), 2);
  TReferentiel::RetirerChampReference(&a, TSalle::StaticClass());
  TReferentiel::RetirerChampReference(&b, TSalle::StaticClass());
  EXPECT_EQ(champs->GetNombreElements(), 0);
}

// ---------------------------------------------------------------------------------------------------
// Walks

namespace {

std::set<TObject*> Ensemble(const std::vector<TCustomTable*>& tables) {
  return std::set<TObject*>(tables.begin(), tables.end());
}

// Stops the walk at the first table.
class TArreterAuPremier : public TCustomTraiterInstance {
 public:
  bool Traiter(TObject* Instance) override {
    Vue = Instance;
    return true;
  }
  TObject* Vue = nullptr;
};

}  // namespace

TEST(Referentiel, TheTableWalkOfABaseFindsItsTablesAndWithoutBaseEveryTableOfEveryEntry) {
  TBaseEcole ecole, autre;
  TCustomTable personnes(TPersonne::StaticClass(), &ecole, 16);
  TCustomTable salles(TSalle::StaticClass(), &ecole, 16);
  TCustomTable sallesAutre(TSalle::StaticClass(), &autre, 16);
  TCustomTable sallesSansBase(TSalle::StaticClass(), nullptr, 16);

  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TArticle::StaticClass(), &ecole)),
            (std::set<TObject*>{&personnes, &salles}));
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TSalle::StaticClass(), &autre)), (std::set<TObject*>{&sallesAutre}));
  // Without a base: every table of the class, the one without base (its first entry) included.
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TSalle::StaticClass(), nullptr)),
            (std::set<TObject*>{&salles, &sallesAutre, &sallesSansBase}));
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TProfesseur::StaticClass(), &ecole)), std::set<TObject*>{});
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TObject::StaticClass(), &ecole)), std::set<TObject*>{});

  TArreterAuPremier arret;
  arret.DesinscrireRamasseMiettes();
  EXPECT_EQ(TReferentiel::TraiterTables(&arret, &autre), 1);
  EXPECT_EQ(arret.Vue, &sallesAutre);
}

TEST(Referentiel, DeletingTheTablesOfABaseFreesThemAndLeavesTheOtherBasesTables) {
  TBaseEcole ecole;
  new TCustomTable(TProfesseur::StaticClass(), &ecole, 16);
  new TCustomTable(TSalle::StaticClass(), &ecole, 16);
  TCustomTable sansBase(TSalle::StaticClass(), nullptr, 16);
  ASSERT_EQ(TReferentielManager::Racine()->CompterTables(&ecole), 2);

  EXPECT_TRUE(TReferentiel::SupprimerTables(&ecole));
  EXPECT_EQ(TReferentielManager::Racine()->CompterTables(&ecole), 0);
  EXPECT_EQ(Entree(TArticle::StaticClass(), &ecole), nullptr);
  EXPECT_EQ(Entree(TSalle::StaticClass(), nullptr)->Table, &sansBase);
}

TEST(Referentiel, ClassesReferringToEachOtherOrToThemselvesGetOneNodeEach) {
  // The referenced class is made first; a class already being made is not made again.
  TReferentiel::EnregistrerClasse(TAller::StaticClass());
  TReferentiel::EnregistrerClasse(TChainon::StaticClass());
  TNoeudReferentiel* aller = TReferentiel::Noeud(TAller::StaticClass());
  TNoeudReferentiel* retour = TReferentiel::Noeud(TRetour::StaticClass());
  ASSERT_NE(aller, nullptr);
  ASSERT_NE(retour, nullptr);
  EXPECT_EQ(aller->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(retour->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(retour->Comparer(aller), 1);
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TChainon::StaticClass())), "Suivant");
  EXPECT_FALSE(TReferentielManager::EnCours(TAller::StaticClass()));
  TReferentiel::EnregistrerClasse(TDossier::StaticClass());
  TNoeudReferentiel* dossier = TReferentiel::Noeud(TDossier::StaticClass());
  ASSERT_NE(dossier, nullptr);
  EXPECT_EQ(dossier->Parent(), TReferentielManager::Racine());
  ASSERT_NE(TReferentiel::Noeud(TSousDossier::StaticClass()), nullptr);
  EXPECT_EQ(TReferentiel::Noeud(TSousDossier::StaticClass())->Parent(), dossier);
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TSousDossier::StaticClass())), "Dernier");
  EXPECT_EQ(TReferentiel::Noeud(TSousDossier::StaticClass())->ChampsPropres->GetNombreElements(), 0);
  EXPECT_FALSE(TReferentielManager::EnCours(TDossier::StaticClass()));
  EXPECT_FALSE(TReferentielManager::EnCours(TSousDossier::StaticClass()));
  // Tables of them refer to each other's class.
  TCustomTable allers(TAller::StaticClass(), nullptr, 16), retours(TRetour::StaticClass(), nullptr, 16);
  TCustomTable chainons(TChainon::StaticClass(), nullptr, 16);
  EXPECT_TRUE(TReferentiel::Noeud(TChainon::StaticClass())->ChampsReferencants->Contient(chainons.GetChamp(0)));
}

// ---------------------------------------------------------------------------------------------------
// Verification

namespace {

class TOrphelin : public TPersonne {
  NV_DECLARE_CLASS(TOrphelin)
 public:
  using TPersonne::TPersonne;
};
NV_DEFINE_CLASS(TOrphelin, TPersonne)

class TCible : public TArticle {
  NV_DECLARE_CLASS(TCible)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TCible, TArticle, kProprietes)

class TLigne : public TArticle {
  NV_DECLARE_CLASS(TLigne)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Cible", "TCible", tkClass, [] { return TCible::StaticClass(); }, 0, true},
      {"NomCible", "String", tkLString, nullptr, 1, true},
      {"Total", "Integer", tkInteger, nullptr, 2, true},
      {"Voisines", "TListeArticles", tkClass, []() -> const TClass* { return TListeArticles::StaticClass(); }, 3, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TLigne, TArticle, kProprietes)

// The messages of a verification run, the first error's then its children's.
std::vector<std::string> Verifier() {
  TErreur* erreur = nullptr;
  TReferentielManager::Racine()->GetVerifiable()->Verifier(OptionsVerificationParDefaut, erreur);
  std::vector<std::string> messages;
  if (erreur == nullptr) return messages;
  messages.push_back(erreur->Message);
  for (int i = 0; i < erreur->NombreFils(); ++i) messages.push_back(static_cast<TErreur*>(erreur->Fils(i))->Message);
  return messages;
}

std::string Resume(const TClass* classe) {
  std::string s;
  TReferentiel::Noeud(classe)->TracerResume(s);
  return s;
}

TInfosAcces* Chemin(const std::vector<TypeItemInfoAcces>& elements) {
  auto* chemin = new TInfosAcces(32, true, false);
  for (const TypeItemInfoAcces& e : elements) chemin->Ajouter(e);
  return chemin;
}

}  // namespace

TEST(ReferentielVerification, ASoundRegistryGivesNoMessageAndAChangeReArmsTheVerification) {
  TBaseEcole ecole;
  TCustomTable allers(TAller::StaticClass(), nullptr, 16), personnes(TPersonne::StaticClass(), &ecole, 16);
  EXPECT_EQ(Verifier(), std::vector<std::string>{});
  TVerifierReferentiel* verificateur = TReferentielManager::Racine()->GetVerifiable();
  EXPECT_FALSE(verificateur->GetVerificationActive());
  TChampInteger champ("c", nullptr, {16}, false);
  TReferentiel::AjouterChampReference(&champ, TSalle::StaticClass());
  EXPECT_TRUE(verificateur->GetVerificationActive());
  Verifier();
  EXPECT_FALSE(verificateur->GetVerificationActive());
  TReferentiel::RetirerChampReference(&champ, TSalle::StaticClass());
  EXPECT_TRUE(verificateur->GetVerificationActive());
  // The root answers the verifiable interface through its verifier, registered with the service.
  EXPECT_EQ(InterfaceOf<IVerifiable>(TReferentielManager::Racine()), static_cast<IVerifiable*>(verificateur));
}

TEST(ReferentielVerification, ABrokenRegistryIsReportedWithTheMessagesOfEachFault) {
  TReferentiel::EnregistrerClasse(TProfesseur::StaticClass());
  TReferentiel::EnregistrerClasse(TSalle::StaticClass());
  TBaseEcole ecole, fantome;
  // A table of a class and one of its subclass in the same base.
  TCustomTable personnes(TPersonne::StaticClass(), &ecole, 16), professeurs(TProfesseur::StaticClass(), &ecole, 16);
  // A node under a parent that is not its class's parent.
  auto* orphelin = new TNoeudReferentiel(TOrphelin::StaticClass());
  TReferentielManager::Racine()->AjouterFils(orphelin);
  // An entry whose base the parent lacks, and an entry with neither base nor table.
  TNoeudReferentiel* salle = TReferentiel::Noeud(TSalle::StaticClass());
  salle->BasesEtTables->Ajouter({&fantome, nullptr});
  salle->BasesEtTables->Ajouter({nullptr, nullptr});

  // The findings are traced to the default tracer.
  std::string trace;
  TCustomTraceur* traceur = Trace::TraceurParDefaut();
  traceur->SurTrace = [&](TCustomTraceur*, const std::string& ligne) { trace += ligne; };
  // In tree order, which depends on the order the classes were first registered in.
  const std::vector<std::string> messages = Verifier();
  traceur->SurTrace = nullptr;
  EXPECT_NE(trace.find("Table et Base à NIL pour le noeud"_ansi), std::string::npos) << trace;
  const std::string resumeSalle = Resume(TSalle::StaticClass());
  EXPECT_EQ(std::multiset<std::string>(messages.begin(), messages.end()), (std::multiset<std::string>{
                          std::string("Un fils du noeud ne doit pas avoir la même base : "_ansi) + Resume(TPersonne::StaticClass()),
                          std::string("Table et Base à NIL pour le noeud : "_ansi) + resumeSalle,
                          std::string("Le père du noeud devrait avoir la même base : "_ansi) + resumeSalle,
                          std::string("La classe du noeud parent (TArticle) n'est pas un ancêtre de la classe du noeud (TPersonne)"_ansi),
                      }));

  salle->BasesEtTables->Supprimer({&fantome, nullptr});
  salle->BasesEtTables->Supprimer({nullptr, nullptr});
  TReferentielManager::Racine()->SupprimerFils(orphelin);
  delete orphelin;
}

TEST(ReferentielVerification, ATableReferringToAClassWhoseNodeComesAfterItsOwnIsOutOfOrder) {
  TBaseEcole ecole;
  TCustomTable allers(TAller::StaticClass(), &ecole, 16), retours(TRetour::StaticClass(), &ecole, 16);
  // TRetour's node was made first, while TAller's was being made.
  EXPECT_EQ(Verifier(), std::vector<std::string>{
                            std::string("Erreur d'ordonnancement des tables dans le référentiel : TRetour --> TAller"_ansi)});
}

TEST(ReferentielVerification, AccessPathsAreCheckedElementByElementAndAnIncorrectOneStopsTheWalk) {
  TReferentiel::EnregistrerClasse(TLigne::StaticClass());
  TListeChampsPublies* propres = TReferentiel::Noeud(TLigne::StaticClass())->ChampsPropres;
  TChampPublie* nomCible = propres->Champ(1);
  TChampPublie* total = propres->Champ(2);
  TChampPublie* voisines = propres->Champ(3);
  const TClass* ligne = TLigne::StaticClass();
  const TClass* cible = TCible::StaticClass();
  struct Cas {
    const char* nom;
    TChampPublie* champ;
    std::vector<TypeItemInfoAcces> chemin;
    std::string_view message;  // empty: the path is correct
  };
  const Cas cas[] = {
      {"through the reference to a field of the same kind", nomCible, {{ligne, 0, nullptr}, {cible, 0, nullptr}}, ""},
      {"a step through a field that is no reference", nomCible, {{ligne, 2, nullptr}, {cible, 0, nullptr}},
       "L'élément (TLigne, 2) du chemin est incorrect"_ansi},
      {"a last field of another kind", total, {{ligne, 0, nullptr}, {cible, 0, nullptr}},
       "L'élément (TCible, 0) du chemin est incorrect"_ansi},
      {"a field number past the class's fields", total, {{ligne, 0, nullptr}, {cible, 7, nullptr}},
       "L'élément (TCible, 7) du chemin est incorrect"_ansi},
      {"a list of the articles a last reference reaches", voisines, {{ligne, 0, nullptr}}, ""},
      {"a value from a last reference", total, {{ligne, 0, nullptr}}, "L'élément (TLigne, 0) du chemin est incorrect"_ansi},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    c.champ->SetInfosAcces(Chemin(c.chemin));
    const std::vector<std::string> messages = Verifier();
    c.champ->SetInfosAcces(nullptr);
    EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{std::string(c.message)});
  }
  // An earlier incorrect path is reported even when a later field's path is correct.
  nomCible->SetInfosAcces(Chemin({{ligne, 2, nullptr}, {cible, 0, nullptr}}));
  total->SetInfosAcces(Chemin({{ligne, 0, nullptr}, {ligne, 2, nullptr}}));
  EXPECT_EQ(Verifier(), std::vector<std::string>{std::string("L'élément (TLigne, 2) du chemin est incorrect"_ansi)});
  nomCible->SetInfosAcces(nullptr);
  total->SetInfosAcces(nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Copies of a base's tables

namespace {

int32_t NouvelleLigne(TCustomTable& table) {
  int32_t l = -1;
  EXPECT_TRUE(table.AllouerLigne(l));
  return l;
}

TCustomTable* TableDe(const TClass* classe, TBase* base) {
  const TypeBaseEtTable* entree = Entree(classe, base);
  return entree ? entree->Table : nullptr;
}

TypeReferenceArticle ReferenceEn(TCustomTable* table, int32_t colonne, int32_t ligne) {
  TypeReferenceArticle r;
  table->GetChamp(colonne)->Reference(ligne, r);
  return r;
}

}  // namespace

TEST(ReferentielCopie, ACopiedBaseHasItsOwnTablesAndItsReferencesDesignateThem) {
  TBaseEcole source, cible;
  auto* cibles = new TCustomTable(TCible::StaticClass(), &source, 16);
  auto* lignes = new TCustomTable(TLigne::StaticClass(), &source, 16);
  auto* chainons = new TCustomTable(TChainon::StaticClass(), &source, 16);
  auto* referencesLignes = static_cast<TChampReference*>(lignes->GetChamp(0));
  auto* suivants = static_cast<TChampReference*>(chainons->GetChamp(0));
  for (const char* nom : {"a", "b", "c"}) static_cast<TChampString*>(cibles->GetChamp(0))->SetValeur(NouvelleLigne(*cibles), nom);
  for (int i = 0; i < 3; ++i) NouvelleLigne(*lignes), NouvelleLigne(*chainons);
  referencesLignes->SetReference(2, cibles, 0);
  referencesLignes->SetReference(0, cibles, 1);  // row 2 stays null
  suivants->SetReference(1, chainons, 0);
  suivants->SetReference(2, chainons, 1);
  // A table already in the target base goes.
  new TCustomTable(TSalle::StaticClass(), &cible, 16);

  TReferentiel::CopierTables(&source, &cible);

  EXPECT_EQ(TableDe(TSalle::StaticClass(), &cible), nullptr);
  TCustomTable* copieCibles = TableDe(TCible::StaticClass(), &cible);
  TCustomTable* copieLignes = TableDe(TLigne::StaticClass(), &cible);
  TCustomTable* copieChainons = TableDe(TChainon::StaticClass(), &cible);
  ASSERT_NE(copieCibles, nullptr);
  ASSERT_NE(copieLignes, nullptr);
  ASSERT_NE(copieChainons, nullptr);
  EXPECT_NE(copieCibles, cibles);
  EXPECT_EQ(copieLignes->Base, &cible);
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TArticle::StaticClass(), &cible)),
            (std::set<TObject*>{copieCibles, copieLignes, copieChainons}));
  EXPECT_EQ(static_cast<TChampString*>(copieCibles->GetChamp(0))->GetValeur(2), "c");

  struct Cas {
    TCustomTable* table;
    int32_t ligne;
    TCustomTable* tableAttendue;
    uint32_t ligneAttendue;
  };
  for (const Cas& c : {Cas{copieLignes, 0, copieCibles, 2}, Cas{copieLignes, 1, copieCibles, 0},
                       Cas{copieLignes, 2, nullptr, kAucuneLigne}, Cas{copieChainons, 0, copieChainons, 1},
                       Cas{copieChainons, 1, copieChainons, 2}}) {
    const TypeReferenceArticle r = ReferenceEn(c.table, 0, c.ligne);
    EXPECT_EQ(r.Table, c.tableAttendue) << c.ligne;
    EXPECT_EQ(r.IndiceArticle, c.ligneAttendue) << c.ligne;
  }
  // The copy's reference index finds the rows by the copied references; the model's still by its own.
  auto* copieReferences = static_cast<TChampReference*>(copieLignes->GetChamp(0));
  int32_t position = 0;
  bool trouve = false;
  copieReferences->Index->ChercherReference({nullptr, 2, copieCibles}, position, trouve);
  EXPECT_TRUE(trouve);
  EXPECT_EQ(copieReferences->Index->LigneDePosition(position), 0u);
  copieReferences->Index->ChercherReference({nullptr, 2, cibles}, position, trouve);
  EXPECT_FALSE(trouve);
  referencesLignes->Index->ChercherReference({nullptr, 2, cibles}, position, trouve);
  EXPECT_TRUE(trouve);
  // Copying onto itself changes nothing.
  TReferentiel::CopierTables(&cible, &cible);
  EXPECT_EQ(TableDe(TLigne::StaticClass(), &cible), copieLignes);

  EXPECT_TRUE(TReferentiel::SupprimerTables(&cible));
  EXPECT_TRUE(TReferentiel::SupprimerTables(&source));
}
