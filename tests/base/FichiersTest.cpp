// The record files of the timetable base: the 42 files open as one base, the common pattern (search
// by identifier, walks, local changes in exclusive mode with their notifications, the server route),
// received orders through the registry and each file's converters, and the choice of stored layout.
#include <algorithm>
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "BaseEssai.h"
#include "base/SupTraitement.h"
#include "base/VerificateurNetXi.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupCivilite.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupPays.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/netmodif.h"

namespace {

using Lignes = std::vector<std::string>;

// A country's stored record: code, name, nationality.
std::vector<uint8_t> PaysStocke(const std::string& code, const std::string& nom, const std::string& nationalite) {
  std::vector<uint8_t> s = Chaine(code, 3);
  for (const auto& part : {Chaine(nom, 30), Chaine(nationalite, 30)}) s.insert(s.end(), part.begin(), part.end());
  return s;
}

std::vector<uint8_t> LieuStocke(const std::string& nom, int32_t pays) {
  std::vector<uint8_t> s = Chaine(nom, 30);
  s.resize(36, 0);
  std::memcpy(&s[32], &pays, 4);
  return s;
}

std::string Nom(const uint8_t* champ, int32_t capacite) { return FichierSup::LireChaineCourte(champ, capacite); }

TEST_F(BaseOuverte, TheFortyTwoFilesAreRegisteredInBaseOrder) {
  // place, extension, table code, current stored size
  const std::vector<std::tuple<int, std::string, int, uint32_t>> attendus = {
      {1, ".CIV", 0x06, 6},   {2, ".PON", 0x07, 4},   {3, ".CAL", 0x08, 111},  {4, ".JRF", 0x09, 16},
      {5, ".MAD", 0x2E, 61},  {6, ".PAY", 0x28, 66},  {7, ".LIE", 0x29, 36},   {8, ".ELE", 0x2A, 536},
      {9, ".FMR", 0x0B, 15},  {10, ".SFM", 0x0C, 20}, {11, ".TYP", 0x0D, 28},  {12, ".MAT", 0x0E, 228},
      {13, ".RLM", 0x0F, 8},  {14, ".CUR", 0x10, 52}, {15, ".MDL", 0x34, 52},  {16, ".STP", 0x25, 72},
      {17, ".SIT", 0x30, 40}, {18, ".TSI", 0x31, 16}, {19, ".RES", 0x11, 560}, {20, ".PRT", 0x12, 44},
      {21, ".RFM", 0x13, 12}, {22, ".RLR", 0x14, 12}, {23, ".LPP", 0x2F, 12},  {24, ".RLP", 0x15, 8},
      {25, ".LCL", 0x17, 80}, {26, ".RGC", 0x18, 9},  {27, ".MCR", 0x27, 264}, {28, ".CRS", 0x19, 102},
      {29, ".RLC", 0x1A, 16}, {30, ".RPC", 0x1B, 8},  {31, ".IRS", 0x1D, 24},  {32, ".ICR", 0x1E, 24},
      {33, ".PAM", 0x16, 20}, {34, ".RRU", 0x20, 44}, {35, ".PRC", 0x21, 40},  {36, ".APP", 0x22, 212},
      {37, ".RRE", 0x2B, 12}, {38, ".LSL", 0x2C, 80}, {39, ".PSI", 0x2D, 560}, {40, ".RRM", 0x33, 12},
      {41, ".RCM", 0x35, 8},  {42, ".RAP", 0x36, 20},
  };
  ASSERT_EQ(NetXi::NombreTables(), 42);
  for (const auto& [place, extension, code, taille] : attendus) {
    SCOPED_TRACE(extension);
    const TypeTableReseau* entree = NetXi::Table(place);
    ASSERT_NE(entree, nullptr);
    EXPECT_EQ(SupFichiers::NumerosTables()[place - 1], place);
    EXPECT_EQ(entree->Extension, extension);
    EXPECT_EQ(entree->TailleStockee, taille);
    EXPECT_EQ(SupFichiers::Fichier(place)->Description().CodeTable, code);
    EXPECT_EQ(entree->Table, &SupFichiers::Fichier(place)->Table);
    EXPECT_NE(*entree->Table, nullptr);
    // Every file has a writer, so that the whole-base export writes every file (".RLP" too, whose
    // relations would otherwise be lost by an export).
    EXPECT_TRUE(static_cast<bool>(entree->EcrireArticleStocke)) << extension;
    const bool verifie =
        extension == ".CIV" || extension == ".CRS" || extension == ".PAM" || extension == ".RCM" || extension == ".RAP";
    EXPECT_EQ(SupFichiers::Fichier(place)->Verificateur() != nullptr, verifie);
    if (verifie) {
      EXPECT_EQ(SupFichiers::Fichier(place)->Verificateur()->NumeroTable(), place);
    }
  }
  EXPECT_EQ(dynamic_cast<TVerificateurCivilites*>(SupCivilite::Fichier().Verificateur()) != nullptr, true);

  // A base received again is registered afresh with the same numbers.
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  EXPECT_EQ(NetXi::NombreTables(), 42);
  EXPECT_EQ(SupFichiers::NumerosTables()[41], 42);
  EXPECT_EQ(NetXi::Table(42)->Extension, ".RAP");
}

TEST_F(BaseOuverte, EveryFileTakesARecordByOrderAndWalksIt) {
  // Each file receives two records by order, finds them by identifier and walks them. The stored
  // record is what its writer makes of a record that refers to the records the files before it
  // received, so that every file accepts it.
  for (int32_t place = 1; place <= 42; ++place) {
    SCOPED_TRACE(place);
    const TypeTableReseau* entree = NetXi::Table(place);
    const int32_t taille = static_cast<int32_t>(entree->TailleStockee);
    TFichierSup& f = *SupFichiers::Fichier(place);
    std::vector<uint8_t> stocke(static_cast<std::size_t>(taille), 0);
    f.ViderArticle();
    RemplirArticle(f, place);
    ASSERT_TRUE(f.EcrireArticleStocke(stocke.data(), 0, GM_Creation));
    Recevoir(OrdreRecu(GM_Creation, place, taille, stocke));
    Recevoir(OrdreRecu(GM_Creation, place, 2 * taille, stocke));
    // A unique order refuses the second, equal record.
    const auto& ordres = f.Description().Ordres;
    const bool unique = std::any_of(ordres.begin(), ordres.end(), [](const TypeOrdreFichier& o) { return o.Unique; });
    EXPECT_EQ(Xi::Nombre(f.Table), unique ? 1u : 2u);
    ASSERT_TRUE(f.ChercherParIdentifiant(taille));
    EXPECT_EQ(f.IdentifiantCourant(), taille);
    std::vector<int32_t> identifiants;
    for (bool ok = Xi::Premier(f.Table, 0); ok; ok = Xi::Suivant(f.Table, 0))
      identifiants.push_back(f.IdentifiantCourant());
    EXPECT_EQ(identifiants.front(), taille);
  }
}

class PatternEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    client_.Exclusif = true;
    NetXi::Table(6)->SurModification1 = [this](TypeGenreModif g, int32_t t, int32_t id) {
      std::string nom;
      SupTraitement::NomTraitement(SupTraitement::TraitementCourant(), nom);
      notifications_.push_back(std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id) + " " + nom +
                               " " + std::to_string(Xi::Nombre(SupPays::Fichier().Table)));
    };
  }

  std::vector<std::string> notifications_;
};

TEST_F(PatternEssai, ALocalCreationNotifiesAndMarksTheBase) {
  ASSERT_TRUE(SupPays::CreerPays("Belgique et une longue suite de", "belge", "BELG"));
  EXPECT_EQ(SupPays::Article()->Identifiant, 0);
  EXPECT_EQ(Nom(SupPays::Article()->Code, 3), "BEL");
  EXPECT_EQ(Nom(SupPays::Article()->Nom, 30), "Belgique et une longue suite d");
  EXPECT_EQ(notifications_, (Lignes{"0 6 0 CM_CREER_PAYS 1"}));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(PatternEssai, ARefusedLocalCreationNeitherNotifiesNorMarks) {
  ASSERT_TRUE(SupPays::CreerPays("France", "", "FR"));
  notifications_.clear();
  fiche_.FichierVok.SetModifie(false);
  EXPECT_FALSE(SupPays::CreerPays("Espagne", "", "ES")) << "two countries cannot share the empty nationality";
  EXPECT_EQ(Xi::XiStatut, Xi::kStatutDoublon);
  EXPECT_TRUE(notifications_.empty());
  EXPECT_FALSE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(PatternEssai, ConsultationModeAndTheNormalConnectionLeaveTheBaseUnmarked) {
  SupDisponibilite::ModeDAcces() = SupDisponibilite::kModeConsultation;
  ASSERT_TRUE(SupPays::CreerPays("France", "", "FR"));
  EXPECT_FALSE(fiche_.FichierVok.Modifie());
  SupDisponibilite::ModeDAcces() = SupDisponibilite::kModeModification;
  client_.Exclusif = false;
  EcrGlobale::MarquerBaseModifiee(&fiche_);
  EXPECT_FALSE(fiche_.FichierVok.Modifie());
}

TEST_F(PatternEssai, LocalChangesAndDeletionsNotifyWithTheIdentifier) {
  Recevoir(OrdreRecu(GM_Creation, 6, 66, PaysStocke("FR", "France", "")));
  Recevoir(OrdreRecu(GM_Creation, 6, 132, PaysStocke("IT", "Italie", "italienne")));
  TFichierSup& f = SupPays::Fichier();
  ASSERT_TRUE(f.ChercherParIdentifiant(132));
  const uint32_t code = 0x80280202;  // CM_MODIFIER_NOM_PAYS
  const auto nouveau = Chaine("France", 30);
  EXPECT_FALSE(f.Modifier(code, nouveau.data(), 31, [&] { std::memcpy(SupPays::Article()->Nom, nouveau.data(), 31); }));
  EXPECT_EQ(Xi::XiStatut, Xi::kStatutModificationDoublon);
  const auto autre = Chaine("Italia", 30);
  ASSERT_TRUE(f.ChercherParIdentifiant(132));
  EXPECT_TRUE(f.Modifier(code, autre.data(), 31, [&] { std::memcpy(SupPays::Article()->Nom, autre.data(), 31); }));
  ASSERT_TRUE(f.ChercherParIdentifiant(132));
  EXPECT_EQ(Nom(SupPays::Article()->Nom, 30), "Italia");
  // The deletion drops the buffer's unsaved edits and notifies while the record is still there.
  SupPays::Article()->Identifiant = 999;
  EXPECT_TRUE(f.Supprimer(0x80280300));
  EXPECT_EQ(notifications_, (Lignes{"1 6 132 CM_MODIFIER_NOM_PAYS 2", "2 6 132 CM_SUPPRIMER_PAYS 2"}));
  EXPECT_FALSE(f.ChercherParIdentifiant(132));
  EXPECT_EQ(Xi::Nombre(f.Table), 1u);
  EXPECT_FALSE(f.Supprimer(0x80280300)) << "no current record";
}

TEST_F(PatternEssai, AsAClientTheTableChangesOnlyThroughTheServersOrder) {
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 0u) << "nothing is inserted before the server answers";
    const int32_t identifiant = 66;
    Recevoir(OrdreRecu(GM_Creation, 6, identifiant, r.Donnees));  // the order arrives inside the wait
    std::memcpy(reponse, &identifiant, 4);
    return true;
  };
  ASSERT_TRUE(SupPays::CreerPays("France", "française", "FR"));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupPays::kCodeCreerPays);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, PaysStocke("FR", "France", "française"));
  EXPECT_EQ(SupPays::Article()->Identifiant, 66) << "the new record is current";
  EXPECT_TRUE(notifications_.empty());
  EXPECT_FALSE(fiche_.FichierVok.Modifie());

  // A change is sent with the record's identifier; a refusal changes nothing.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  const auto nom = Chaine("Francia", 30);
  EXPECT_FALSE(SupPays::Fichier().Modifier(0x80280202, nom.data(), 31, {}));
  EXPECT_EQ(client_.Envoyees.back().Parametre, 66);
  EXPECT_EQ(client_.Envoyees.back().Donnees, nom);
  EXPECT_FALSE(SupPays::CreerPays("Italie", "italienne", "IT"));
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 1u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(PatternEssai, APlaceCreatedAsAClientIsTheServersVerdictAlone) {
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    EXPECT_EQ(r.Donnees, Chaine("Lyon", 30)) << "the name alone, not the stored record";
    const int32_t identifiant = 360;  // whose order never came
    std::memcpy(reponse, &identifiant, 4);
    return true;
  };
  EXPECT_TRUE(SupLieu::CreerLieu("Lyon"));
  EXPECT_EQ(Xi::Nombre(SupLieu::Fichier().Table), 0u);
}

TEST_F(BaseOuverte, WithoutADataClientAChangeIsRefusedAndChangesNothing) {
  NetClient::ClientDonnees() = nullptr;
  EXPECT_FALSE(SupPays::CreerPays("France", "", "FR"));
  EXPECT_FALSE(SupCivilite::CreerCivilitesParDefaut());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u) << "the codes are popped on the way out";
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 0u);
  EXPECT_EQ(Xi::Nombre(SupCivilite::Fichier().Table), 0u);
  Recevoir(OrdreRecu(GM_Creation, 6, 66, PaysStocke("FR", "France", "")));
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 1u) << "a received order is applied all the same";
  EXPECT_FALSE(fiche_.FichierVok.Modifie()) << "without an exclusive mode the base file is not marked";
}

TEST_F(BaseOuverte, SearchesByIdentifierKeepTheCurrentRecordWhenNothingIsFound) {
  Recevoir(OrdreRecu(GM_Creation, 6, 66, PaysStocke("FR", "France", "")));
  Recevoir(OrdreRecu(GM_Creation, 6, 132, PaysStocke("IT", "Italie", "italienne")));
  TFichierSup& f = SupPays::Fichier();
  ASSERT_TRUE(f.ChercherParIdentifiant(132));
  const uint32_t italie = Xi::NumeroCourant(f.Table);
  EXPECT_FALSE(f.ChercherParIdentifiant(99));
  EXPECT_EQ(Xi::NumeroCourant(f.Table), italie);
  EXPECT_EQ(Nom(SupPays::Article()->Nom, 30), "Italie");
  (void)Xi::AllerA(f.Table, 0);
  EXPECT_FALSE(f.ChercherParIdentifiant(99));
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 0u) << "none current before, none after";
  EXPECT_EQ(f.IdentifiantDe(italie), 132);
  EXPECT_EQ(f.IdentifiantDe(0), 0);
  Recevoir(OrdreRecu(GM_Suppression, 6, 132, {}));
  EXPECT_EQ(f.IdentifiantDe(italie), 0);
  EXPECT_EQ(SupPays::NationaliteDe(1), "");
  EXPECT_EQ(SupPays::PaysParDefaut(), 0u);
}

TEST_F(BaseOuverte, PlacesConvertTheirCountryBetweenIdentifierAndRecordNumber) {
  Recevoir(OrdreRecu(GM_Creation, 6, 66, PaysStocke("FR", "France", "")));
  Recevoir(OrdreRecu(GM_Creation, 7, 36, LieuStocke("Lyon", 66)));
  Recevoir(OrdreRecu(GM_Creation, 7, 72, LieuStocke("Nowhere", 999)));
  client_.Exclusif = true;
  ASSERT_TRUE(SupPays::CreerPays("Italie", "italienne", "IT"));  // identifier 0 until exported
  Recevoir(OrdreRecu(GM_Creation, 7, 108, LieuStocke("Nulle part", 0)));
  TFichierSup& lieux = SupLieu::Fichier();
  ASSERT_TRUE(lieux.ChercherParIdentifiant(36));
  EXPECT_EQ(SupLieu::Article()->Pays, 1u);
  ASSERT_TRUE(lieux.ChercherParIdentifiant(72));
  EXPECT_EQ(SupLieu::Article()->Pays, 0u) << "an unknown country is not carried over from the place before";
  ASSERT_TRUE(lieux.ChercherParIdentifiant(108));
  EXPECT_EQ(SupLieu::Article()->Pays, 0u) << "a stored 0 is no country, not the one created locally";

  // Back to the stored form through the registry: the country's identifier again.
  ASSERT_TRUE(lieux.ChercherParIdentifiant(36));
  TypeTableReseau* entree = NetXi::Table(7);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, lieux.Table, 36, GM_Modification));
  EXPECT_EQ(std::vector<uint8_t>(entree->Tampon, entree->Tampon + 36), LieuStocke("Lyon", 66));
  EXPECT_EQ(SupLieu::NomLieu(1), "Lyon");
  EXPECT_EQ(SupLieu::NomLieu(0), "");
  EXPECT_EQ(SupModaliteAdmission::NomModalite(0), "");
  EXPECT_EQ(SupLieu::LieuParDefaut(), 0u);
}

// A record whose referenced record is gone is written with identifier 0: a place keeps no country,
// and a heading of a family that no longer exists is then refused by its reader.
TEST_F(BaseOuverte, AWriterWhoseReferencedRecordIsGoneWritesIdentifierZero) {
  constexpr int32_t kPAY = 6, kLIE = 7, kFMR = 9, kSFM = 10;
  Recevoir(OrdreRecu(GM_Creation, kPAY, 66, PaysStocke("FR", "France", "")));
  Recevoir(OrdreRecu(GM_Creation, kLIE, 36, LieuStocke("Lyon", 66)));
  std::vector<uint8_t> famille = {1};
  const auto nom = Chaine("Grades", 13);
  famille.insert(famille.end(), nom.begin(), nom.end());
  Recevoir(OrdreRecu(GM_Creation, kFMR, 15, famille));
  std::vector<uint8_t> rubrique(20, 0);
  const int32_t identifiantFamille = 15;
  std::memcpy(rubrique.data(), &identifiantFamille, 4);
  const auto titre = Chaine("Agrege", 13);
  std::copy(titre.begin(), titre.end(), rubrique.begin() + 4);
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, rubrique));
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kSFM)->Table), 1u);

  Recevoir(OrdreRecu(GM_Suppression, kPAY, 66, {}));
  Recevoir(OrdreRecu(GM_Suppression, kFMR, 15, {}));
  // (place, identifier of the record written, offset of the reference, stored size)
  for (const auto& [place, identifiant, decalage] :
       std::vector<std::tuple<int32_t, int32_t, std::size_t>>{{kLIE, 36, 32}, {kSFM, 20, 0}}) {
    SCOPED_TRACE(place);
    TypeTableReseau* entree = NetXi::Table(place);
    ASSERT_TRUE(SupFichiers::Fichier(place)->ChercherParIdentifiant(identifiant));
    ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, *entree->Table, identifiant, GM_Modification));
    int32_t reference = -1;
    std::memcpy(&reference, entree->Tampon + decalage, 4);
    EXPECT_EQ(reference, 0);
  }
  std::memset(rubrique.data(), 0, 4);
  Recevoir(OrdreRecu(GM_Creation, kSFM, 40, rubrique));
  EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(kSFM)->Table), 1u) << "a heading without its family is dropped";
  Recevoir(OrdreRecu(GM_Creation, kLIE, 72, LieuStocke("Rome", 0)));
  EXPECT_EQ(Xi::Nombre(SupLieu::Fichier().Table), 2u) << "a place without a country is kept";
}

TEST_F(BaseOuverte, ALocallyCreatedPlaceHasNoCountry) {
  client_.Exclusif = true;
  ASSERT_TRUE(SupLieu::CreerLieu("Lyon"));
  EXPECT_EQ(SupLieu::Article()->Pays, 0u);
  TypeTableReseau* entree = NetXi::Table(7);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, SupLieu::Fichier().Table, 36, GM_Modification));
  EXPECT_EQ(std::vector<uint8_t>(entree->Tampon, entree->Tampon + 36), LieuStocke("Lyon", 0));
}

TEST_F(BaseOuverte, CivilitiesTakeSmallIdentifiersAsRecordNumbers) {
  client_.Exclusif = true;
  Traduction::DefinirTexte("SupCivilite/DefautM", "M.");
  Traduction::DefinirTexte("SupCivilite/DefautMlle", "Mlle");
  Traduction::DefinirTexte("SupCivilite/DefautMme", "Madame");
  ASSERT_TRUE(SupCivilite::CreerCivilitesParDefaut());
  Lignes noms;
  for (bool ok = Xi::Premier(SupCivilite::Fichier().Table, 0); ok; ok = Xi::Suivant(SupCivilite::Fichier().Table, 0))
    noms.push_back(Nom(SupCivilite::Article()->Nom, 5));
  EXPECT_EQ(noms, (Lignes{"", "M.", "Mlle", "Madam"}));
  Recevoir(OrdreRecu(GM_Creation, 1, 30, Chaine("Dr", 5)));

  TFichierSup& f = SupCivilite::Fichier();
  // identifier, found, then the name of the current record
  const std::vector<std::tuple<int32_t, bool, std::string>> cas = {
      {0, false, "Mlle"}, {-6, false, "Mlle"}, {3, true, "Mlle"},  {5, true, "Dr"},
      {30, true, "Dr"},   {6, false, "Mlle"},  {7, false, "Mlle"},
  };
  for (const auto& [identifiant, trouve, nom] : cas) {
    SCOPED_TRACE(identifiant);
    ASSERT_TRUE(Xi::AllerA(f.Table, 3));
    EXPECT_EQ(f.ChercherParIdentifiant(identifiant), trouve);
    EXPECT_EQ(Nom(SupCivilite::Article()->Nom, 5), nom);
  }
}

TEST_F(BaseOuverte, AMissingDefaultCivilityNameFailsOnTheUniqueName) {
  client_.Exclusif = true;
  Traduction::DefinirTexte("SupCivilite/DefautM", "M.");
  Traduction::DefinirTexte("SupCivilite/DefautMme", "Mme");
  ASSERT_TRUE(SupCivilite::CreerCivilitesParDefaut());
  EXPECT_EQ(Xi::Nombre(SupCivilite::Fichier().Table), 3u);
}

TEST_F(BaseOuverte, AReceivedOrderInExclusiveModeMarksTheBase) {
  Recevoir(OrdreRecu(GM_Creation, 5, 61, Chaine("Concours", 60)));
  EXPECT_FALSE(fiche_.FichierVok.Modifie()) << "connected normally, the server's base changed";
  client_.Exclusif = true;
  Recevoir(OrdreRecu(GM_Creation, 5, 122, Chaine("Dossier", 60)));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupModaliteAdmission::NomModalite(2), "Dossier");
}

TEST_F(BaseOuverte, TheServersRequestBracketsForgetTheTouchedCourses) {
  TypeEnsembleMemoire& touches = SupFichiers::CoursTouches();
  (void)Memoire::Inserer(5, touches);
  NetClient::DebutRequete();
  EXPECT_EQ(touches.Nombre, 0u);
  NetClient::FinRequete();  // an end without any received order changes nothing
  NetClient::DebutRequete();
  (void)Memoire::Inserer(5, touches);
  NetClient::FinRequete();  // a touched course that no longer exists is skipped
  EXPECT_EQ(touches.Nombre, 0u) << "the set is freed";
}

// The holder of the open base forwards its file's events, with the file as sender: being loaded to
// one slot, a new name or a change of the modified state to the other.
TEST(FicheGlobales, TheFilesEventsReachTheirSlots) {
  TFicheGlobales fiche;
  Lignes vus;
  fiche.FichierVok.SetNomFichier("ancienne.smp");  // no slot assigned: nothing happens
  fiche.SurBaseChargee = [&](TFichier* f) { vus.push_back("chargee " + std::to_string(f == &fiche.FichierVok)); };
  fiche.SurNomOuModification = [&](TFichier* f) {
    vus.push_back("nom " + f->NomFichier() + " " + std::to_string(f->Modifie()));
  };
  fiche.FichierVok.SetNomFichier("base.smp");
  fiche.FichierVok.SetCharge(true);
  fiche.FichierVok.SetModifie(true);
  fiche.FichierVok.SetModifie(true);  // unchanged: nothing raised
  fiche.FichierCFG.SetCharge(true);   // the other files are not forwarded
  fiche.FichierVok.SetCharge(false);  // unloading clears the modified mark
  EXPECT_EQ(vus, (Lignes{"nom base.smp 0", "chargee 1", "nom base.smp 1", "chargee 1", "nom base.smp 0"}));
  EXPECT_FALSE(fiche.FichierVok.Charge());
}

TEST(FichierSupDispositions, TheLayoutIsChosenByTheBaseVersion) {
  auto lire = [](TFichierSup&, const uint8_t*, TypeGenreModif) { return true; };
  const TypeDescriptionFichier description{
      "SupEssai", ".ESS",
      0x99,       1,
      8,          {{false, {{0, 4, &Comparai::ComparerEntierBis}}}},
      1,          {{10, {2, 0, 86, 0}, lire}, {12, {2, 0, 91, 0}, lire}, {20, {}, lire}},
      nullptr,    nullptr,
      false};
  TFichierSup fichier(description);
  // version, base older than 5.0.6, layout
  const std::vector<std::tuple<TypeVersionFormat, bool, std::size_t>> cas = {
      {{2, 0, 85, 9}, true, 0}, {{2, 0, 86, 0}, true, 1},  {{2, 0, 90, 0}, true, 1},  {{2, 0, 91, 0}, true, 2},
      {{4, 0, 1, 0}, true, 2},  {{2, 0, 85, 0}, false, 2}, {{1, 9, 200, 0}, true, 0},
  };
  for (const auto& [version, ancienne, disposition] : cas)
    EXPECT_EQ(fichier.DispositionPour(version, ancienne), disposition)
        << version.Majeure << "." << version.Mineure << "." << version.Revision;
}

// A file whose records default a byte to 7 and whose layout does not hold it.
TEST(FichierSupDefauts, NewRecordsStartFromTheDefaultsAndChangedOnesKeepWhatTheLayoutLacks) {
  auto lire = [](TFichierSup& f, const uint8_t* s, TypeGenreModif) {
    f.Enregistrement()[5] = s[0];
    return true;
  };
  const TypeDescriptionFichier description{"SupEssai", ".ESS",
                                           0x99,       1,
                                           6,          {{false, {{0, 4, &Comparai::ComparerEntierBis}}}},
                                           1,          {{1, {}, lire}},
                                           nullptr,    [](uint8_t* e) { e[4] = 7; },
                                           false};
  TFichierSup fichier(description);
  ASSERT_TRUE(fichier.CreerTable());
  std::memset(fichier.Table, 0xEE, 6);
  fichier.ViderArticle();
  EXPECT_EQ(std::vector<uint8_t>(fichier.Enregistrement(), fichier.Enregistrement() + 6),
            (std::vector<uint8_t>{0, 0, 0, 0, 7, 0}));
  fichier.Enregistrement()[4] = 9;
  const uint8_t stocke[1] = {3};
  ASSERT_TRUE(fichier.LireArticleStocke(0, stocke, 12, GM_Creation));
  EXPECT_EQ(std::vector<uint8_t>(fichier.Enregistrement(), fichier.Enregistrement() + 6),
            (std::vector<uint8_t>{12, 0, 0, 0, 7, 3}));
  fichier.Enregistrement()[4] = 9;
  ASSERT_TRUE(fichier.LireArticleStocke(0, stocke, 12, GM_Modification));
  EXPECT_EQ(fichier.Enregistrement()[4], 9);
  EXPECT_FALSE(fichier.LireArticleStocke(1, stocke, 12, GM_Creation)) << "no such layout";
  EXPECT_FALSE(fichier.EcrireArticleStocke(nullptr, 12, GM_Creation)) << "no writer";
}

TEST(FichierSupChaines, CountedStringsAreCutToTheirCapacity) {
  uint8_t champ[6];
  std::memset(champ, 0xEE, sizeof champ);
  FichierSup::EcrireChaineCourte(champ, 5, "Madame");
  EXPECT_EQ(FichierSup::LireChaineCourte(champ, 5), "Madam");
  champ[0] = 200;  // a length beyond the field is read up to the field
  EXPECT_EQ(FichierSup::LireChaineCourte(champ, 5), "Madam");
  FichierSup::EcrireChaineCourte(champ, 5, "M");
  EXPECT_EQ(std::vector<uint8_t>(champ, champ + 6), (std::vector<uint8_t>{1, 'M', 0, 0, 0, 0}));
}

}  // namespace

namespace {

// Registers every file for a base of that version older than 5.0.6.
void InscrireVersion(const TypeVersionFormat& version) {
  SupFichiers::VersionBase() = version;
  NetBases::BaseAnterieure506() = true;
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
}

}  // namespace

// A 4.0.7 base stores its partitions in an older layout that is not read, beside older layouts that
// are: every file registers at its size of that version, the partitions refuse their records, and the
// base is reported as not readable, naming that file.
TEST_F(BaseOuverte, AnOlderBaseRegistersItsOlderSizesAndLayoutsNotReadRefuseTheirRecords) {
  InscrireVersion({4, 0, 7, 0});
  // place, size registered for 4.0.7
  for (auto [place, taille] : {std::pair{8, 456u}, {16, 68u}, {28, 103u}, {33, 16u}, {36, 420u}, {20, 28u}})
    EXPECT_EQ(NetXi::Table(place)->TailleStockee, taille) << NetXi::Table(place)->Extension;
  ASSERT_NE(SupFichiers::FichierIllisible(), nullptr);
  EXPECT_STREQ(SupFichiers::FichierIllisible()->Description().Extension, ".PRT");
  EXPECT_EQ(SupFichiers::TexteVersion(SupFichiers::VersionBase()), "4.0.7");
  Recevoir(OrdreRecu(GM_Creation, 20, 28, std::vector<uint8_t>(28, 0)));
  EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(20)->Table), 0u) << "a partition of an unread layout is refused";

  // A base at the current version, or at 5.0.6 and later whatever its parts, reads every file.
  InscrireVersion({5, 0, 3, 0});
  EXPECT_EQ(SupFichiers::FichierIllisible(), nullptr);
  EXPECT_EQ(NetXi::Table(16)->TailleStockee, 72u);
  NetBases::BaseAnterieure506() = false;
  SupFichiers::VersionBase() = {2, 0, 0, 0};
  EXPECT_EQ(SupFichiers::FichierIllisible(), nullptr);
  NetBases::BaseAnterieure506() = false;
  SupFichiers::VersionBase() = {};
}

// The registry keeps each file's default-contents routine; the files without one keep none.
TEST_F(BaseOuverte, TheRegistryHoldsTheDefaultContentsOfTheFilesThatHaveThem) {
  const TypeTableReseau* pays = NetXi::Table(6);
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(pays->ContenuParDefaut);
  EXPECT_TRUE(pays->ContenuParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupPays::kCodeCreerPaysParDefaut);
  for (int32_t place : {1, 2, 5, 7, 11, 26, 33, 42}) EXPECT_TRUE(NetXi::Table(place)->ContenuParDefaut) << place;
  EXPECT_FALSE(NetXi::Table(34)->ContenuParDefaut);
}

// A status stored without a domain of application applies to weeks 1 to 41; one stored with its own
// domain keeps it.
TEST_F(BaseOuverte, AStatusStoredWithoutDomainAppliesToWeeksOneToFortyOne) {
  constexpr int32_t kSTP = 16;
  const TFichierSup& f = *SupFichiers::Fichier(kSTP);
  const int32_t domaine = DeclarationFichier::ChampNomme(f.Description(), "Domaine")->Decalage;
  const std::vector<uint8_t> attendu41 = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x00};
  const std::vector<uint8_t> propre = {0x06, 0, 0, 0, 0, 0, 0};
  int32_t identifiant = 0;
  for (const auto& [nom, stocke, attendu] :
       {std::tuple{"Certifie", std::vector<uint8_t>(7, 0), attendu41}, {"Agrege", propre, propre}}) {
    std::vector<uint8_t> s = Chaine(nom, 30);
    s.resize(72, 0);
    std::copy(stocke.begin(), stocke.end(), s.begin() + 64);
    identifiant += 72;
    Recevoir(OrdreRecu(GM_Creation, kSTP, identifiant, s));
    ASSERT_TRUE(SupFichiers::Fichier(kSTP)->ChercherParIdentifiant(identifiant));
    EXPECT_EQ(std::vector<uint8_t>(f.Enregistrement() + domaine, f.Enregistrement() + domaine + 7), attendu);
  }
}
