// The internet publication parameters: the colour texts and page names, the stored node, the node
// operations in exclusive mode and through received orders, and the default tree laid here.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/SupParam.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupPublicationSurInternet.h"
#include "core/records/Xi.h"
#include "tests/base/BaseEssai.h"

namespace {

namespace P = SupPublicationSurInternet;
using E = TypeEnregistrementPublication;
using Octets = std::vector<uint8_t>;

TEST(CouleurEnTexte, RedGreenBlueFromTheLowTwentyFourBits) {
  const std::vector<std::pair<uint32_t, std::string>> cas = {
      {0xFFFFFF, "#FFFFFF"}, {0x3399CC, "#CC9933"}, {0x66CCFF, "#FFCC66"}, {0xFF00000F, "#0F0000"}, {0, "#000000"}};
  for (const auto& [couleur, texte] : cas) EXPECT_EQ(TMethodesConversionGraphique::CouleurEnTexte(couleur), texte);
}

TEST(NomPage, ThePagesOfTheHomeTheSpacesAndThePlannings) {
  const std::vector<std::tuple<std::string, int32_t, std::string>> cas = {
      {"PageAccueil", 0, "PageAccueil"},     {"Espace", 0, "EspaceEnseignants"}, {"Espace", 1, "EspaceEtudiants"},
      {"Espace", 2, "EspaceInvites"},        {"Espace", 3, ""},                  {"Espace", -1, ""},
      {"PlanningGeneral", 0, "Plannings"},   {"Ressource", 0, "Enseignants"},    {"Ressource", 1, "Diplomes"},
      {"Ressource", 2, "Etudiants"},         {"Ressource", 3, "Salles"},         {"Ressource", 4, ""},
      {"OngletCompte", 0, ""},               {"pageaccueil", 0, ""},
  };
  for (const auto& [nom, index, page] : cas) EXPECT_EQ(P::NomPage(nom, index), page) << nom << " " << index;
}

// The stored record of a node, field by field at its offsets.
Octets Stocke(int32_t noeud, int32_t parent, const std::string& nom, int32_t index, const std::string& valeur,
              const std::string& defaut, uint8_t genre, uint8_t option, uint8_t modifie) {
  Octets s(560, 0);
  std::memcpy(&s[0], &noeud, 4);
  std::memcpy(&s[4], &parent, 4);
  const Octets n = Chaine(nom, 30), v = Chaine(valeur, 255), d = Chaine(defaut, 255);
  std::copy(n.begin(), n.end(), s.begin() + 8);
  std::memcpy(&s[40], &index, 4);
  std::copy(v.begin(), v.end(), s.begin() + 44);
  std::copy(d.begin(), d.end(), s.begin() + 300);
  s[556] = genre;
  s[557] = option;
  s[558] = modifie;
  return s;
}

class Publication : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    CompteursNumeros::Compteurs().fill(0);
    SupParam::Parametres().NomEtablissement.clear();
    NetXi::Table(P::kPlace)->SurModification1 = [this](TypeGenreModif g, int32_t t, int32_t id) {
      notifications_.push_back(std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id));
    };
  }
  void TearDown() override {
    EXPECT_EQ(SupTraitement::Profondeur(), 0u);
    CompteursNumeros::Compteurs().fill(0);
    SupParam::Parametres().NomEtablissement.clear();
    BaseOuverte::TearDown();
  }
  static TFichierSup& F() { return P::Fichier(); }
  static uint32_t Nombre() { return Xi::Nombre(F().Table); }
  static uint32_t& Compteur() { return CompteursNumeros::Compteurs()[CompteursNumeros::kPSI]; }
  // The current node as the registry writes it.
  static Octets StockeCourant() {
    TypeTableReseau* entree = NetXi::Table(P::kPlace);
    EXPECT_TRUE(entree->EcrireArticleStocke(entree->Tampon, F().Table, F().IdentifiantCourant(), GM_Modification));
    return Octets(entree->Tampon, entree->Tampon + entree->TailleStockee);
  }
  // Every node as (parent's name path, name, index) -> (kind, value, modified flag).
  static std::map<std::string, std::tuple<int, std::string, int>> Arbre() {
    std::map<int32_t, std::string> chemins;
    std::map<std::string, std::tuple<int, std::string, int>> arbre;
    std::vector<E> noeuds;
    F().EmpilerPosition();
    for (bool b = Xi::Premier(F().Table, P::kOrdreNoeud); b; b = Xi::Suivant(F().Table, P::kOrdreNoeud))
      noeuds.push_back(*P::Article());
    F().DepilerPosition();
    // Node numbers grow with their creation, so a parent comes before its children.
    for (const E& n : noeuds) {
      const std::string chemin = (n.Parent == 0 ? "" : chemins.at(n.Parent) + "/") +
                                 FichierSup::LireChaineCourte(n.Nom, 30) + "[" + std::to_string(n.Index) + "]";
      chemins[n.Noeud] = chemin;
      arbre[chemin] = {n.GenreValeur, FichierSup::LireChaineCourte(n.Valeur, 255), n.Modifie};
    }
    return arbre;
  }

  std::vector<std::string> notifications_;
};

TEST_F(Publication, TheInMemoryRecordIsTheDeclaredOne) {
  const TypeDescriptionFichier& d = F().Description();
  EXPECT_EQ(d.TailleEnregistrement, sizeof(E));
  const std::vector<std::pair<const char*, std::size_t>> champs = {
      {"Noeud", offsetof(E, Noeud)},      {"Parent", offsetof(E, Parent)},
      {"Nom", offsetof(E, Nom)},          {"Index", offsetof(E, Index)},
      {"GenreValeur", offsetof(E, GenreValeur)}, {"Valeur", offsetof(E, Valeur)},
      {"ValeurParDefaut", offsetof(E, ValeurParDefaut)}, {"Option", offsetof(E, Option)},
      {"Modifie", offsetof(E, Modifie)}};
  for (const auto& [nom, decalage] : champs)
    EXPECT_EQ(DeclarationFichier::ChampNomme(d, nom)->Decalage, static_cast<int32_t>(decalage)) << nom;
}

TEST_F(Publication, ANodeOfEveryKindReadsAndWritesItsStoredBytesAndRaisesTheCounter) {
  TypeTableReseau* entree = NetXi::Table(P::kPlace);
  const std::vector<Octets> noeuds = {
      Stocke(7, 0, "PageAccueil", 0, "", "", P::GV_Groupe, 1, 0),
      Stocke(8, 7, "EnteteHauteurFixe", 0, "120", "150", P::GV_Entier, 0, 1),
      Stocke(9, 7, "AvecEnteteHauteurFixe", 0, "vrai", "vrai", P::GV_Booleen, 0, 0),
      Stocke(10, 7, "AdresseLogoEtablissement", 0, std::string(255, 'h'), "http://", P::GV_Texte, 0, 1),
      Stocke(11, 7, "EnteteCouleurFond", 0, "#CC9933", "#CC9933", P::GV_Couleur, 0, 0),
      Stocke(12, 7, "PeriodeConsultation", 0, std::string(52, '1'), std::string(52, '0'), P::GV_Semaines, 1, 1),
      Stocke(500, 7, std::string(30, 'N'), 3, "Libell\xE9", "Libell\xE9", P::GV_Libelle, 0, 0),
  };
  int32_t identifiant = 560;
  for (const Octets& s : noeuds) {
    SCOPED_TRACE(identifiant);
    std::memcpy(entree->Tampon, s.data(), s.size());
    ASSERT_TRUE(entree->LireArticleStocke(entree->Tampon, F().Table, identifiant, GM_Creation));
    ASSERT_TRUE(Xi::Inserer(F().Table));
    EXPECT_EQ(StockeCourant(), s);
    identifiant += 560;
  }
  EXPECT_EQ(Compteur(), 500u) << "loading node 500 raises the counter to 500";
  EXPECT_EQ(P::ValeurNoeud(P::GV_Libelle, 7, std::string(30, 'n'), 3), "Libell\xE9") << "names without case";
  EXPECT_EQ(P::ValeurEntierNoeud(P::GV_Entier, 7, "EnteteHauteurFixe", 0), 120);

  // A name or value longer than its field is cut to it; a negative node number leaves the counter.
  Octets trop = Stocke(-4, 0, "X", 0, "v", "d", P::GV_Texte, 0, 0);
  trop[8] = 200;
  trop[44] = 255;
  std::memcpy(entree->Tampon, trop.data(), trop.size());
  ASSERT_TRUE(entree->LireArticleStocke(entree->Tampon, F().Table, 99 * 560, GM_Creation));
  EXPECT_EQ(P::Article()->Nom[0], 30);
  EXPECT_EQ(Compteur(), 500u);
}

TEST_F(Publication, InExclusiveModeEachOperationChangesTheTableNotifiesAndMarksTheBase) {
  client_.Exclusif = true;
  Compteur() = 41;
  ASSERT_TRUE(P::CreerNoeud(0, "Divers", 0, P::GV_Groupe, "", 1));
  EXPECT_EQ(P::Article()->Noeud, 42) << "the next number of the counter";
  EXPECT_EQ(Compteur(), 42u);
  EXPECT_EQ(StockeCourant(), Stocke(42, 0, "Divers", 0, "", "", P::GV_Groupe, 1, 0));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  ASSERT_TRUE(P::CreerNoeud(42, "NomEtablissement", 0, P::GV_Texte, "Lyc\xE9" "e", 0));
  EXPECT_EQ(StockeCourant(), Stocke(43, 42, "NomEtablissement", 0, "Lyc\xE9" "e", "Lyc\xE9" "e", P::GV_Texte, 0, 0));
  // The same place again is refused and gives its number back.
  EXPECT_FALSE(P::CreerNoeud(42, "nometablissement", 0, P::GV_Entier, "1", 0));
  EXPECT_EQ(Compteur(), 43u);

  ASSERT_TRUE(P::ModifierValeur("Coll\xE8ge"));
  EXPECT_EQ(StockeCourant(), Stocke(43, 42, "NomEtablissement", 0, "Coll\xE8ge", "Lyc\xE9" "e", P::GV_Texte, 0, 1))
      << "a user's change keeps the default value";
  EXPECT_TRUE(P::ModifierValeur("Coll\xE8ge")) << "unchanged: nothing to do";
  ASSERT_TRUE(P::ModifierOption(1));
  EXPECT_EQ(P::Article()->Option, 1);
  EXPECT_TRUE(P::ModifierOption(1));
  ASSERT_TRUE(P::SupprimerNoeud());
  EXPECT_EQ(Nombre(), 1u);
  EXPECT_EQ(notifications_, (std::vector<std::string>{"0 39 0", "0 39 0", "1 39 0", "1 39 0", "2 39 0"}));
  EXPECT_TRUE(client_.Envoyees.empty());
  EXPECT_FALSE(P::ModifierValeur("x")) << "no current node";
  EXPECT_FALSE(P::SupprimerNoeud());

  // Node numbers are signed: the counter gives none past the largest.
  Compteur() = 0x7FFFFFFE;
  ASSERT_TRUE(P::CreerNoeud(0, "Dernier", 0, P::GV_Groupe, "", 0));
  EXPECT_EQ(P::Article()->Noeud, 0x7FFFFFFF);
  EXPECT_FALSE(P::CreerNoeud(0, "Suivant", 0, P::GV_Groupe, "", 0));
  EXPECT_EQ(Compteur(), 0x7FFFFFFFu);
  Compteur() = 0xFFFFFFFF;
  EXPECT_FALSE(P::CreerNoeud(0, "Suivant", 0, P::GV_Groupe, "", 0));
  EXPECT_EQ(Nombre(), 2u);
}

TEST_F(Publication, ReceivedOrdersCreateChangeAndDeleteNodesThroughTheRegistry) {
  const int32_t table = F().NumeroTable();
  Recevoir(OrdreRecu(GM_Creation, table, 560, Stocke(3, 0, "Divers", 0, "", "", P::GV_Groupe, 0, 0)));
  Recevoir(OrdreRecu(GM_Creation, table, 1120, Stocke(77, 3, "NomEtablissement", 0, "A", "A", P::GV_Texte, 0, 0)));
  EXPECT_EQ(Nombre(), 2u);
  EXPECT_EQ(Compteur(), 77u);
  Recevoir(OrdreRecu(GM_Modification, table, 1120, Stocke(77, 3, "NomEtablissement", 0, "B", "A", P::GV_Texte, 0, 1)));
  EXPECT_EQ(P::ValeurNoeud(P::GV_Texte, 3, "NomEtablissement", 0), "B");
  EXPECT_EQ(P::NoeudGroupe(0, "Divers", 0), 3);
  Recevoir(OrdreRecu(GM_Suppression, table, 1120, {}));
  EXPECT_EQ(Nombre(), 1u);
  EXPECT_TRUE(P::ValeurNoeud(P::GV_Texte, 3, "NomEtablissement", 0).empty());
  EXPECT_TRUE(notifications_.empty()) << "orders are not local changes";
}

TEST_F(Publication, LookupsAskForTheKindAndKeepTheCurrentRecord) {
  client_.Exclusif = true;
  const int32_t g = P::DefinirGroupe(0, "PageAccueil", 0);
  ASSERT_NE(g, 0);
  ASSERT_NE(P::DefinirEntier(g, "NombreAccesEspace", 0, 3), 0);
  ASSERT_NE(P::DefinirTexte(g, "Titre", 0, "t"), 0);
  ASSERT_TRUE(Xi::AllerA(F().Table, 1));
  EXPECT_EQ(P::NoeudGroupe(0, "PageAccueil", 0), g);
  EXPECT_EQ(P::NoeudGroupe(g, "", 0), g) << "by number";
  EXPECT_EQ(P::NoeudGroupe(g + 1, "", 0), 0) << "a value is no group";
  EXPECT_EQ(P::NoeudGroupe(0, "", 0), 0);
  EXPECT_EQ(P::NoeudGroupe(g, "NombreAccesEspace", 0), 0);
  EXPECT_EQ(P::ValeurNoeud(P::GV_Entier, g, "NombreAccesEspace", 0), "3");
  EXPECT_EQ(P::ValeurNoeud(P::GV_Texte, g, "NombreAccesEspace", 0), "") << "another kind";
  EXPECT_EQ(P::ValeurEntierNoeud(P::GV_Texte, g, "Titre", 0), 0) << "not a number";
  EXPECT_EQ(Xi::NumeroCourant(F().Table), 1u);
  EXPECT_EQ(P::Article()->Noeud, g);

  EXPECT_FALSE(P::ModifierValeurNoeud("", P::GV_Entier, g, "NombreAccesEspace", 0)) << "an empty number";
  EXPECT_TRUE(P::ModifierValeurNoeud("", P::GV_Texte, g, "Titre", 0)) << "an empty text";
  EXPECT_EQ(P::ValeurNoeud(P::GV_Texte, g, "Titre", 0), "");
  EXPECT_FALSE(P::ModifierValeurNoeud("x", P::GV_Texte, g, "NombreAccesEspace", 0)) << "another kind";
  EXPECT_FALSE(P::ModifierValeurNoeud(4, g, "Absent", 0));
  EXPECT_TRUE(P::ModifierValeurNoeud(-12, g, "NombreAccesEspace", 0));
  EXPECT_EQ(P::ValeurEntierNoeud(P::GV_Entier, g, "NombreAccesEspace", 0), -12);
  EXPECT_EQ(Xi::NumeroCourant(F().Table), 1u);
}

TEST_F(Publication, RenumberingMakesThePositionsDistinctInIndexOrderWithOneChangePerGroup) {
  client_.Exclusif = true;
  const int32_t espace = P::DefinirGroupe(0, "Espace", 0);
  // Positions by index; the index order is not the creation order.
  const std::vector<std::pair<int32_t, int32_t>> onglets = {{2, 1}, {0, 2}, {1, 1}, {3, 1}};
  for (const auto& [index, position] : onglets)
    ASSERT_NE(P::DefinirEntier(P::DefinirGroupe(espace, "Onglet", index), "Position", 0, position), 0);
  ASSERT_NE(P::DefinirGroupe(espace, "Autre", 0), 0);
  notifications_.clear();
  EXPECT_TRUE(P::NumeroterPositions(espace, "onglet"));
  std::vector<int32_t> positions;
  for (int32_t i = 0; i < 4; ++i)
    positions.push_back(P::ValeurEntierNoeud(P::GV_Entier, P::NoeudGroupe(espace, "Onglet", i), "Position", 0));
  // Index 0 keeps 2, index 1 keeps 1, index 2 moves 1 -> 2 -> 3, index 3 moves 1 -> 2 -> 3 -> 4.
  EXPECT_EQ(positions, (std::vector<int32_t>{2, 1, 3, 4}));
  EXPECT_EQ(notifications_.size(), 2u) << "one change per moved group";
  notifications_.clear();
  EXPECT_TRUE(P::NumeroterPositions(espace, "Onglet"));
  EXPECT_TRUE(notifications_.empty());
  EXPECT_TRUE(P::NumeroterPositions(espace, "Absent"));
}

TEST_F(Publication, TheDefaultTreeHasItsNamesKindsValuesAndLabels) {
  client_.Exclusif = true;
  Traduction::DefinirTexte("SupPublicationSurInternetNomEtablissement", "Mon \xE9tablissement");
  Traduction::DefinirTexte("EcrParametreInternetPublicationTitrePageCompte", "Mot de passe");
  Traduction::DefinirTexte("SupPublicationSurInternetEspaceInvite", "Invit\xE9s");
  ASSERT_TRUE(P::ArbreParDefaut());
  const auto arbre = Arbre();
  EXPECT_GT(arbre.size(), 300u);
  using T = std::tuple<int, std::string, int>;
  const std::vector<std::pair<std::string, T>> attendus = {
      {"Divers[0]", T{P::GV_Groupe, "", 0}},
      {"Divers[0]/NomEtablissement[0]", T{P::GV_Texte, "Mon \xE9tablissement", 0}},
      {"PageAccueil[0]/NombreAccesEspace[0]", T{P::GV_Entier, "3", 0}},
      {"PageAccueil[0]/AvecEnteteHauteurFixe[0]", T{P::GV_Booleen, "vrai", 0}},
      {"PageAccueil[0]/EnteteHauteurFixe[0]", T{P::GV_Entier, "150", 0}},
      {"PageAccueil[0]/EnteteHauteurPourcentage[0]", T{P::GV_Entier, "10", 0}},
      {"PageAccueil[0]/EnteteCouleurFond[0]", T{P::GV_Couleur, "#CC9933", 0}},
      {"PageAccueil[0]/CorpsCouleurFond[0]", T{P::GV_Couleur, "#FFCC66", 0}},
      {"PageAccueil[0]/NomEtablissementCouleurTexte[0]", T{P::GV_Couleur, "#FFFFFF", 0}},
      {"PageAccueil[0]/NomEtablissementTailleTexte[0]", T{P::GV_Entier, "26", 0}},
      {"PageAccueil[0]/AdresseLogoEtablissement[0]", T{P::GV_Texte, "http://", 0}},
      {"PageAccueil[0]/AccesEspace[2]/NomEspace[0]", T{P::GV_Texte, "Invit\xE9s", 0}},
      {"Espace[4]/Onglet[0]/Libelle[0]", T{P::GV_Libelle, "", 0}},
      {"Espace[2]/Onglet[0]/MotDePasse[0]", T{P::GV_Texte, "", 0}},
      {"Espace[0]/Onglet[1]/AvecFiltre[0]", T{P::GV_Booleen, "faux", 0}},
      {"PlanningGeneral[0]/PeriodeConsultation[0]", T{P::GV_Semaines, std::string(52, '1'), 0}},
      {"PlanningGeneral[0]/Ressource[3]/Affichage[1]/Genre[2]/Autre[0]", T{P::GV_Booleen, "faux", 0}},
      {"PlanningGeneral[0]/Ressource[0]/RechercheSecondaire[1]/Position[0]", T{P::GV_Entier, "2", 0}},
      {"OngletCompte[0]/TitrePageCompte[0]", T{P::GV_Libelle, "Mot de passe", 0}},
      {"OngletGeneral[5]/NumeroGenreRessource[0]", T{P::GV_Entier, "5", 0}},
      {"RechercheGenerale[0]/Titre[0]", T{P::GV_Libelle, "", 0}},
  };
  for (const auto& [chemin, valeur] : attendus) {
    ASSERT_TRUE(arbre.contains(chemin)) << chemin;
    EXPECT_EQ(arbre.at(chemin), valeur) << chemin;
  }
  EXPECT_FALSE(arbre.contains("Espace[3]"));
  EXPECT_EQ(P::NoeudGroupe(0, "PlanningGeneral", 0), P::NoeudGroupe(P::NoeudGroupe(0, "PlanningGeneral", 0), "", 0));
  // The establishment name of the base wins over the fixed one.
  SupParam::Parametres().NomEtablissement = "Lyc\xE9" "e du Parc";
  ASSERT_TRUE(P::ArbreParDefaut());
  EXPECT_EQ(P::ValeurNoeud(P::GV_Texte, P::NoeudGroupe(0, "Divers", 0), "NomEtablissement", 0), "Lyc\xE9" "e du Parc");
}

TEST_F(Publication, LayingTheTreeAgainKeepsUsersValuesAndDropsOrReplacesWhatTheTreeNoLongerNames) {
  client_.Exclusif = true;
  const std::string introduction(300, 't');  // longer than a value holds
  Traduction::DefinirTexte("EcrParametreInternetPublicationTexteIntroductif", introduction);
  ASSERT_TRUE(P::ArbreParDefaut());
  const auto premier = Arbre();
  const uint32_t nombre = Nombre();
  const uint32_t compteur = Compteur();
  notifications_.clear();
  ASSERT_TRUE(P::ArbreParDefaut());
  EXPECT_EQ(Arbre(), premier);
  EXPECT_EQ(Nombre(), nombre) << "one node per parent, name and index";
  EXPECT_EQ(Compteur(), compteur);
  EXPECT_TRUE(notifications_.empty()) << "nothing to change";
  EXPECT_EQ(P::ValeurNoeud(P::GV_Texte, P::NoeudGroupe(0, "PageAccueil", 0), "TexteIntroductif", 0),
            introduction.substr(0, 255));
  ASSERT_TRUE(NetXi::Table(P::kPlace)->ContenuParDefaut) << "the tree is the file's default contents";
  EXPECT_TRUE(NetXi::Table(P::kPlace)->ContenuParDefaut());
  EXPECT_EQ(Nombre(), nombre);

  const int32_t accueil = P::NoeudGroupe(0, "PageAccueil", 0);
  ASSERT_TRUE(P::ModifierValeurNoeud(180, accueil, "EnteteHauteurFixe", 0));  // a user's value
  // A node the tree does not name, with a child.
  const int32_t vieux = P::DefinirGroupe(0, "AncienGroupe", 0);
  ASSERT_NE(P::DefinirTexte(vieux, "AncienneValeur", 0, "x"), 0);
  // Nodes as an older tree left them: a value that no user changed, and a node of another kind.
  const auto changer = [&](const char* nom, uint8_t genre, const std::string& valeur) {
    F().EmpilerPosition();
    P::Article()->Parent = accueil;
    FichierSup::EcrireChaineCourte(P::Article()->Nom, 30, nom);
    P::Article()->Index = 0;
    EXPECT_TRUE(Xi::Trouver(F().Table, P::kOrdreNom)) << nom;
    P::Article()->GenreValeur = genre;
    FichierSup::EcrireChaineCourte(P::Article()->Valeur, 255, valeur);
    FichierSup::EcrireChaineCourte(P::Article()->ValeurParDefaut, 255, valeur);
    EXPECT_TRUE(Xi::Modifier(F().Table)) << nom;
    F().DepilerPosition();
  };
  changer("NombreAccesEspace", P::GV_Entier, "9");
  changer("NomEtablissementTailleTexte", P::GV_Texte, "grand");

  ASSERT_TRUE(P::ArbreParDefaut());
  const auto apres = Arbre();
  using T = std::tuple<int, std::string, int>;
  EXPECT_EQ(Nombre(), nombre);
  EXPECT_FALSE(apres.contains("AncienGroupe[0]"));
  EXPECT_FALSE(apres.contains("AncienGroupe[0]/AncienneValeur[0]"));
  EXPECT_EQ(apres.at("PageAccueil[0]/EnteteHauteurFixe[0]"), (T{P::GV_Entier, "180", 1}));
  EXPECT_EQ(apres.at("PageAccueil[0]/NombreAccesEspace[0]"), (T{P::GV_Entier, "3", 0}));
  EXPECT_EQ(apres.at("PageAccueil[0]/NomEtablissementTailleTexte[0]"), (T{P::GV_Entier, "26", 0}))
      << "the node of the other kind is replaced by the default one";
  EXPECT_EQ(P::ValeurNoeud(P::GV_Entier, accueil, "NomEtablissementTailleTexte", 0), "26");
  EXPECT_EQ(P::ValeurNoeud(P::GV_Entier, accueil, "EnteteHauteurFixe", 0), "180");
}

TEST_F(Publication, AGroupThatCannotBeLaidKeepsItsChildrenOutOfTheTopLevel) {
  client_.Exclusif = true;
  // A top-level node named as a child of the home page, that its children would have found there.
  Recevoir(OrdreRecu(GM_Creation, F().NumeroTable(), 560, Stocke(5, 0, "NombreAccesEspace", 0, "3", "3", P::GV_Entier, 0, 0)));
  ASSERT_EQ(Nombre(), 1u);
  // One number left: the first group is laid, nothing after it.
  Compteur() = 0x7FFFFFFE;
  EXPECT_FALSE(P::ArbreParDefaut());
  EXPECT_EQ(Nombre(), 1u);
  EXPECT_EQ(P::NoeudGroupe(0, "Divers", 0), 0x7FFFFFFF);
  EXPECT_TRUE(P::ValeurNoeud(P::GV_Entier, 0, "NombreAccesEspace", 0).empty()) << "not laid at the top, so swept";
}

}  // namespace
